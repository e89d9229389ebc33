#include "support/sandbox.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <unistd.h>

namespace fs = std::filesystem;

namespace fonzeta::test {
namespace {

std::string g_root;

void MakeDir(const fs::path& p) { fs::create_directories(p); }

void CopyFont(const char* from, const fs::path& to_dir)
{
    fs::path src(from);
    if (!fs::exists(src))
        throw std::runtime_error(std::string("test font missing: ") + from);
    fs::copy_file(src, to_dir / src.filename(), fs::copy_options::overwrite_existing);
}

}  // namespace

void Sandbox::Install()
{
    char tmpl[] = "/tmp/fonzeta-test-XXXXXX";
    if (!mkdtemp(tmpl))
        throw std::runtime_error("cannot create the test sandbox");
    g_root = tmpl;
    const fs::path root(g_root);
    MakeDir(root / "home");
    MakeDir(root / "data" / "fonts");
    MakeDir(root / "config");
    MakeDir(root / "cache");
    MakeDir(root / "runtime");
    fs::permissions(root / "runtime", fs::perms::owner_all);
    MakeDir(root / "sysfonts");

    CopyFont("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", root / "sysfonts");
    CopyFont("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf", root / "sysfonts");
    CopyFont("/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf", root / "sysfonts");
    CopyFont("/usr/share/fonts/truetype/nanum/NanumGothic.ttf", root / "sysfonts");

    const fs::path conf = root / "fonts.conf";
    std::ofstream out(conf);
    out << "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n<fontconfig>\n"
        << "  <dir>" << (root / "sysfonts").string() << "</dir>\n"
        << "  <dir>" << (root / "data" / "fonts").string() << "</dir>\n"
        << "  <cachedir>" << (root / "cache" / "fontconfig").string() << "</cachedir>\n"
        << "</fontconfig>\n";
    out.close();

    setenv("HOME", (root / "home").c_str(), 1);
    setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
    setenv("XDG_CACHE_HOME", (root / "cache").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (root / "runtime").c_str(), 1);
    setenv("XDG_DATA_DIRS", (root / "data").c_str(), 1);
    setenv("FONTCONFIG_FILE", conf.c_str(), 1);
    unsetenv("FONTCONFIG_PATH");
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // The user's language is fixed so that locale-dependent results are repeatable.
    setenv("LANG", "en_US.UTF-8", 1);
    setenv("LC_ALL", "en_US.UTF-8", 1);
    setenv("LANGUAGE", "en_US", 1);
}

void Sandbox::Remove()
{
    if (g_root.empty())
        return;
    std::error_code ec;
    fs::remove_all(g_root, ec);
    g_root.clear();
}

std::string Sandbox::Root() { return g_root; }
std::string Sandbox::SystemFontFolder() { return g_root + "/sysfonts"; }
std::string Sandbox::UserFontFolder() { return g_root + "/data/fonts"; }
std::string Sandbox::TrashFolder() { return g_root + "/data/Trash"; }
std::string Sandbox::DejaVuSans() { return SystemFontFolder() + "/DejaVuSans.ttf"; }
std::string Sandbox::DejaVuSansBold() { return SystemFontFolder() + "/DejaVuSans-Bold.ttf"; }
std::string Sandbox::DejaVuSerif() { return SystemFontFolder() + "/DejaVuSerif.ttf"; }
std::string Sandbox::NanumGothic() { return SystemFontFolder() + "/NanumGothic.ttf"; }

}  // namespace fonzeta::test
