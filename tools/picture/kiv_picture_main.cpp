// kivpicture: paints one of the framework's windows offscreen and writes it as a PNG file.
//   kivpicture morph-pad X Y FILE.png   the ABCD morph pad with its handle at (X, Y), 0..1
//   kivpicture detector [PERCENT] FILE.png   TandrelMini's editor with the detector drawer open,
//                                            at PERCENT of its size (default 100)
#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/kiv_exception.h"
#include "gui/drawing/kiv_bitmap.h"
#include "gui/drawing/kiv_png_writer.h"
#include "dynamics/editor/tandrel_detector_drawer.h"
#include "presets/editor/kiv_morph_window.h"

namespace {

const char kUsage[] =
    "usage: kivpicture morph-pad X Y FILE.png   (X, Y from 0 to 1)\n"
    "       kivpicture detector [PERCENT] FILE.png   (PERCENT from 50 to 300)\n";

int Write(const KivBitmap& picture, const char* path) {
    KivPngWriter::Write(picture, path);
    std::printf("picture  %s (%d x %d)\n", path, picture.Width(), picture.Height());
    return 0;
}

bool ParseCoordinate(const char* text, double& value) {
    char* end = nullptr;
    value = std::strtod(text, &end);
    return end != text && *end == '\0' && value >= 0.0 && value <= 1.0;
}

}  // namespace

int main(int argc, char** argv) {
    double x = 0.0, y = 0.0;
    double percent = 100.0;
    const bool detector = (argc == 3 || argc == 4) && std::string(argv[1]) == "detector";
    if (detector && argc == 4) {
        char* end = nullptr;
        percent = std::strtod(argv[2], &end);
        if (end == argv[2] || *end != '\0' || percent < 50.0 || percent > 300.0) {
            std::fputs(kUsage, stderr);
            return 1;
        }
    }
    if (!detector &&
        (argc != 5 || std::string(argv[1]) != "morph-pad" || !ParseCoordinate(argv[2], x) || !ParseCoordinate(argv[3], y))) {
        std::fputs(kUsage, stderr);
        return 1;
    }
    try {
        return detector ? Write(TandrelDetectorDrawer::Picture(percent / 100.0), argv[argc - 1])
                        : Write(KivMorphWindow::Picture(x, y), argv[4]);
    } catch (const KivException& exception) {
        std::fprintf(stderr, "kivpicture: %s\n", exception.GetMessage().ToUTF8().c_str());
        return 1;
    }
}
