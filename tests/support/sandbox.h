#pragma once

#include <string>

namespace fonzeta::test {

// A private world for one test process: HOME and the XDG folders point into a temporary
// folder, and fontconfig reads a configuration that lists only the sandbox's own font
// folders (a "system" folder holding copies of the test fonts, and the user font folder).
// Nothing a test does can reach the real user's files or the system's fonts.
class Sandbox {
public:
    // Sets the environment; must run before the QApplication is created.
    static void Install();
    static void Remove();

    static std::string Root();
    // Folder fontconfig treats as the system's font folder; holds copies of the test fonts.
    static std::string SystemFontFolder();
    static std::string UserFontFolder();
    static std::string TrashFolder();

    // Copies of real fonts inside the sandbox (DejaVu Sans and its Bold, a Nanum font).
    static std::string DejaVuSans();
    static std::string DejaVuSansBold();
    static std::string DejaVuSerif();
    static std::string NanumGothic();
};

}  // namespace fonzeta::test
