#include "pictures.h"

#include <cstdlib>
#include <cstring>

namespace artwork {

namespace {

struct NamedPicture {
    const char* name;
    int width;
    int height;
    const std::uint32_t* pixels;
    bool premultiplied;
};

#include "pictures.inc"

Picture find(const char* name)
{
    for (const NamedPicture& p : pictures) {
        if (std::strcmp(p.name, name) == 0)
            return {p.width, p.height, p.pixels, p.premultiplied};
    }
    std::abort(); // the generator and this list disagree: a build fault
}

} // namespace

const Picture& picture(PictureId id)
{
    static const Picture all[] = {
        find("Image1.png"), find("minimized.png"), find("maximized.png"), find("bk_max.png"), find("close.png"),
        find("search.png"), find("bk_search.png"), find("quelvo.png"),    find("sql_wait.png"),
    };
    return all[static_cast<int>(id)];
}

} // namespace artwork
