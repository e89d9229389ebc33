#include "support/look_alike.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QString>
#include <QtEndian>

#include "support/sandbox.h"
#include "support/temp_folder.h"

namespace fonzeta::test {

// The strings are rewritten in place and their lengths shortened.
std::string SerifNamedSans(const TTempFolder& folder)
{
    QFile in(QString::fromStdString(Sandbox::DejaVuSerif()));
    EXPECT_TRUE(in.open(QIODevice::ReadOnly));
    QByteArray data = in.readAll();
    auto u16 = [&](qsizetype at) { return qFromBigEndian<quint16>(data.constData() + at); };
    auto u32 = [&](qsizetype at) { return qFromBigEndian<quint32>(data.constData() + at); };
    const int tables = u16(4);
    qsizetype name = 0;
    for (int i = 0; i < tables; ++i)
        if (data.mid(12 + 16 * i, 4) == "name")
            name = u32(12 + 16 * i + 8);
    EXPECT_NE(name, 0);
    const int count = u16(name + 2);
    const qsizetype strings = name + u16(name + 4);
    int patched = 0;
    for (int i = 0; i < count; ++i) {
        const qsizetype record = name + 6 + 12 * i;
        const bool wide = u16(record) == 0 || u16(record) == 3;
        const qsizetype at = strings + u16(record + 10);
        const int length = u16(record + 8);
        QString text;
        for (int k = 0; k < length; k += wide ? 2 : 1)
            text += wide ? QChar(u16(at + k)) : QChar(data[at + k]);
        QString replacement;
        if (text == "DejaVu Serif")
            replacement = "DejaVu Sans";
        else if (text == "DejaVuSerif")
            replacement = "DejaVuSans";
        if (replacement.isEmpty())
            continue;
        int offset = 0;
        for (QChar c : replacement) {
            if (wide) {
                qToBigEndian<quint16>(c.unicode(), data.data() + at + offset);
                offset += 2;
            } else {
                data[at + offset++] = static_cast<char>(c.unicode());
            }
        }
        qToBigEndian<quint16>(static_cast<quint16>(offset), data.data() + record + 8);
        ++patched;
    }
    EXPECT_GT(patched, 2);
    const std::string path = folder / "LookAlike.ttf";
    QFile out(QString::fromStdString(path));
    EXPECT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(data);
    return path;
}

}  // namespace fonzeta::test
