#include "font_files.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <fstream>
#include <stdexcept>
#include <unistd.h>

#include "support/temp_folder.h"

namespace fonzeta::test {
namespace {

const char* const kScript = R"PY(
import json, sys
from fontTools.ttLib import TTFont, TTCollection

def otf(out, inp, family):
    from fontTools.fontBuilder import FontBuilder
    from fontTools.pens.t2CharStringPen import T2CharStringPen
    src = TTFont(inp)
    gs = src.getGlyphSet()
    cmap = src.getBestCmap()
    chars = [c for c in range(0x20, 0x7f) if c in cmap]
    order = ['.notdef'] + sorted(set(cmap[c] for c in chars) - {'.notdef'})
    strings = {}
    for g in order:
        pen = T2CharStringPen(gs[g].width, gs)
        gs[g].draw(pen)
        strings[g] = pen.getCharString()
    fb = FontBuilder(src['head'].unitsPerEm, isTTF=False)
    fb.setupGlyphOrder(order)
    fb.setupCharacterMap({c: cmap[c] for c in chars})
    ps = family.replace(' ', '') + '-Regular'
    fb.setupCFF(ps, {'FullName': family}, strings, {})
    fb.setupHorizontalMetrics({g: src['hmtx'][g] for g in order})
    hh = src['hhea']
    fb.setupHorizontalHeader(ascent=hh.ascent, descent=hh.descent)
    fb.setupNameTable({'familyName': family, 'styleName': 'Regular', 'fullName': family,
                       'psName': ps, 'version': 'Version 1.0',
                       'uniqueFontIdentifier': ps + ' 1.0'})
    o = src['OS/2']
    fb.setupOS2(sTypoAscender=o.sTypoAscender, sTypoDescender=o.sTypoDescender,
                usWinAscent=o.usWinAscent, usWinDescent=o.usWinDescent)
    fb.setupPost()
    fb.save(out)

def collection(out, inputs):
    c = TTCollection()
    c.fonts = [TTFont(p) for p in inputs]
    c.save(out)

def names(paths):
    result = {}
    for p in paths:
        with open(p, 'rb') as f:
            magic = f.read(4)
        fonts = TTCollection(p, lazy=True).fonts if magic == b'ttcf' else [TTFont(p, lazy=True)]
        faces = []
        for font in fonts:
            found = [None] * 8
            for rec in font['name'].names:
                if rec.platformID != 3 or not 0 <= rec.nameID <= 7 or len(rec.string) < 1:
                    continue
                if rec.langID != 0x409 or rec.platEncID == 5 or found[rec.nameID] is not None:
                    continue
                found[rec.nameID] = rec.string.decode('utf-16-be', 'replace').split('\0')[0]
            faces.append([s or '' for s in found])
        result[p] = faces
    json.dump(result, sys.stdout, ensure_ascii=False)

if sys.argv[1] == 'otf':
    otf(sys.argv[2], sys.argv[3], sys.argv[4])
elif sys.argv[1] == 'collection':
    collection(sys.argv[2], sys.argv[3:])
else:
    names(sys.argv[2:])
)PY";

// Runs the script with `arguments`; returns what it wrote, throws when it fails.
QByteArray RunFontTools(const QStringList& arguments)
{
    static TTempFolder folder;
    const std::string script = folder / "font_tools.py";
    if (access(script.c_str(), R_OK) != 0)
        std::ofstream(script) << kScript;
    QProcess python;
    // The system's interpreter: fontTools is a Debian package.
    python.start(QStringLiteral("/usr/bin/python3"),
                 QStringList{QString::fromStdString(script)} + arguments);
    if (!python.waitForFinished(120000) || python.exitStatus() != QProcess::NormalExit ||
        python.exitCode() != 0)
        throw std::runtime_error("fontTools failed: " + python.readAllStandardError().toStdString());
    return python.readAllStandardOutput();
}

uint32_t Get32(const std::vector<uint8_t>& b, size_t at)
{
    return uint32_t{b.at(at)} << 24 | uint32_t{b.at(at + 1)} << 16 | uint32_t{b.at(at + 2)} << 8 |
           b.at(at + 3);
}

void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v)
{
    b.at(at) = static_cast<uint8_t>(v >> 24);
    b.at(at + 1) = static_cast<uint8_t>(v >> 16);
    b.at(at + 2) = static_cast<uint8_t>(v >> 8);
    b.at(at + 3) = static_cast<uint8_t>(v);
}

}  // namespace

std::string MakeOpenTypeFont(const std::string& path, const std::string& ttf,
                             const std::string& family)
{
    RunFontTools({QStringLiteral("otf"), QString::fromStdString(path), QString::fromStdString(ttf),
                  QString::fromStdString(family)});
    return path;
}

std::string MakeCollection(const std::string& path, const std::vector<std::string>& fonts)
{
    QStringList arguments{QStringLiteral("collection"), QString::fromStdString(path)};
    for (const std::string& font : fonts)
        arguments << QString::fromStdString(font);
    RunFontTools(arguments);
    return path;
}

std::map<std::string, std::vector<TFaceNames>> ReferenceNames(const std::vector<std::string>& files)
{
    QStringList arguments{QStringLiteral("names")};
    for (const std::string& file : files)
        arguments << QString::fromStdString(file);
    const QJsonObject all = QJsonDocument::fromJson(RunFontTools(arguments)).object();
    std::map<std::string, std::vector<TFaceNames>> result;
    for (auto file = all.begin(); file != all.end(); ++file) {
        std::vector<TFaceNames>& faces = result[file.key().toStdString()];
        for (const QJsonValue& face : file.value().toArray()) {
            TFaceNames names;
            const QJsonArray texts = face.toArray();
            for (int i = 0; i < 8 && i < texts.size(); ++i)
                names[static_cast<size_t>(i)] = texts[i].toString().toStdString();
            faces.push_back(names);
        }
    }
    return result;
}

std::vector<uint8_t> CollectionBytes(const std::vector<std::vector<uint8_t>>& fonts)
{
    std::vector<uint8_t> out = {'t', 't', 'c', 'f', 0, 1, 0, 0};
    out.resize(12 + 4 * fonts.size());
    Put32(out, 8, static_cast<uint32_t>(fonts.size()));
    for (size_t i = 0; i < fonts.size(); ++i) {
        const std::vector<uint8_t>& font = fonts[i];
        while (out.size() % 4)
            out.push_back(0);
        const uint32_t base = static_cast<uint32_t>(out.size());
        Put32(out, 12 + 4 * i, base);
        std::vector<uint8_t> moved = font;
        const size_t numTables = size_t{font.at(4)} << 8 | font.at(5);
        for (size_t t = 0; t < numTables; ++t)
            Put32(moved, 12 + 16 * t + 8, Get32(font, 12 + 16 * t + 8) + base);
        out.insert(out.end(), moved.begin(), moved.end());
    }
    return out;
}

}  // namespace fonzeta::test
