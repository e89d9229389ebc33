#include "platform/text_file.h"

#include <QFile>
#include <QSaveFile>

namespace {

std::string Reason(const QFileDevice& file)
{
    return file.errorString().toStdString();
}

}  // namespace

bool LoadTextLines(const std::string& path, std::vector<std::string>& lines, std::string& error)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        error = "Cannot open file " + path + ": " + Reason(file);
        return false;
    }
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = "Cannot read file " + path + ": " + Reason(file);
        return false;
    }
    lines.clear();
    qsizetype start = 0;
    while (start < data.size()) {
        qsizetype end = data.indexOf('\n', start);
        const bool last = end < 0;
        if (last)
            end = data.size();
        qsizetype len = end - start;
        if (len > 0 && data[start + len - 1] == '\r')
            --len;
        lines.emplace_back(data.constData() + start, static_cast<size_t>(len));
        if (last)
            break;
        start = end + 1;
    }
    return true;
}

bool SaveTextLines(const std::string& path, const std::vector<std::string>& lines,
                   std::string& error)
{
    QByteArray data;
    for (const auto& line : lines) {
        data.append(line.data(), static_cast<qsizetype>(line.size()));
        data.append("\r\n", 2);
    }
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly)) {
        error = "Cannot create file " + path + ": " + Reason(file);
        return false;
    }
    if (file.write(data) != data.size()) {
        error = "Cannot write file " + path + ": " + Reason(file);
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        error = "Cannot write file " + path + ": " + Reason(file);
        return false;
    }
    return true;
}
