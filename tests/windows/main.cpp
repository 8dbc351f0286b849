#include <gtest/gtest.h>

#include <cstring>

int attachProbe();

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "--attach-probe") == 0)
        return attachProbe();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
