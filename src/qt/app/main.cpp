// Quelvo: finds earlier help-desk attendances by the words of a problem.

#include "app/startup.h"

int main(int argc, char** argv)
{
    return app::run(argc, argv);
}
