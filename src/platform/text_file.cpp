#include "platform/text_file.h"

#include <QByteArray>
#include <QSaveFile>

#include "platform/byte_path.h"

bool LoadTextFile(const std::string& path, std::string& bytes, std::string& error)
{
    QByteArray data;
    if (!ReadWholeFile(path, data, error))
        return false;
    bytes.assign(data.constData(), static_cast<size_t>(data.size()));
    return true;
}

bool LoadTextLines(const std::string& path, std::vector<std::string>& lines, std::string& error)
{
    std::string data;
    if (!LoadTextFile(path, data, error))
        return false;
    lines.clear();
    size_t start = 0;
    while (start < data.size()) {
        size_t end = data.find('\n', start);
        const bool last = end == std::string::npos;
        if (last)
            end = data.size();
        size_t len = end - start;
        if (len > 0 && data[start + len - 1] == '\r')
            --len;
        lines.emplace_back(data, start, len);
        if (last)
            break;
        start = end + 1;
    }
    return true;
}

bool SaveTextFile(const std::string& path, const std::string& bytes, std::string& error)
{
    const std::string shown = DisplayPathUtf8(path);
    if (!QtCanSpell(path)) {
        error = "Cannot create file " + shown + ": the name is not valid in the system's encoding";
        return false;
    }
    QSaveFile file(PathToQt(path));
    if (!file.open(QIODevice::WriteOnly)) {
        error = "Cannot create file " + shown + ": " + file.errorString().toStdString();
        return false;
    }
    const auto size = static_cast<qint64>(bytes.size());
    // The bytes sit in the file's buffer until flushed; commit() would rename the file over
    // the old one even when that last flush fails (a full disk), so flush and check first.
    if (file.write(bytes.data(), size) != size || !file.flush()) {
        error = "Cannot write file " + shown + ": " + file.errorString().toStdString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        error = "Cannot write file " + shown + ": " + file.errorString().toStdString();
        return false;
    }
    return true;
}

bool SaveTextLines(const std::string& path, const std::vector<std::string>& lines,
                   std::string& error)
{
    std::string data;
    for (const auto& line : lines) {
        data += line;
        data += "\r\n";
    }
    return SaveTextFile(path, data, error);
}
