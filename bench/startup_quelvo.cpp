// The program itself, started as `quelvo` starts, reporting when its search
// window has first been painted (see startup_probe.h).

#include "app/startup.h"
#include "startup_probe.h"

int main(int argc, char** argv)
{
    return app::run(argc, argv, [] {
        std::printf("shown ms: %.3f\n", bench::millisecondsSinceLaunch());
        std::fflush(stdout);
        QCoreApplication::exit(0);
    });
}
