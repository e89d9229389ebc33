#include "platform/byte_path.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Length of the valid UTF-8 sequence starting at `i`, or 0 when the byte there starts none.
size_t Utf8SequenceLength(const std::string& s, size_t i)
{
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = byte(i);
    if (c < 0x80)
        return 1;
    size_t length = 0;
    uint32_t code = 0;
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
        code = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        code = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        code = c & 0x07;
    } else {
        return 0;
    }
    if (i + length > s.size())
        return 0;
    for (size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
        code = code << 6 | (byte(i + k) & 0x3F);
    }
    // Overlong forms, surrogates and values beyond Unicode are not valid UTF-8.
    if ((length == 3 && code < 0x800) || (length == 4 && (code < 0x10000 || code > 0x10FFFF)) ||
        (code >= 0xD800 && code < 0xE000))
        return 0;
    return length;
}

}  // namespace

QString PathToQt(const std::string& path)
{
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

std::string PathFromQt(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

bool QtCanSpell(const std::string& path)
{
    return PathFromQt(PathToQt(path)) == path;
}

std::string DisplayPathUtf8(const std::string& path)
{
    std::string out;
    out.reserve(path.size());
    for (size_t i = 0; i < path.size();) {
        const size_t length = Utf8SequenceLength(path, i);
        if (length == 0) {
            static const char hex[] = "0123456789ABCDEF";
            const auto c = static_cast<unsigned char>(path[i]);
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 0xF];
            ++i;
            continue;
        }
        out.append(path, i, length);
        i += length;
    }
    return out;
}

QString DisplayPath(const std::string& path)
{
    return QString::fromStdString(DisplayPathUtf8(path));
}

bool ReadWholeFile(const std::string& path, QByteArray& data, std::string& error)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        error = "Cannot open file " + DisplayPathUtf8(path) + ": " + std::strerror(errno);
        return false;
    }
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        error = "Cannot read file " + DisplayPathUtf8(path) + ": not a regular file";
        close(fd);
        return false;
    }
    QByteArray bytes;
    bytes.resize(static_cast<qsizetype>(st.st_size));
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t got = read(fd, bytes.data() + done, static_cast<size_t>(bytes.size() - done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            error = "Cannot read file " + DisplayPathUtf8(path) + ": " + std::strerror(errno);
            close(fd);
            return false;
        }
        if (got == 0)
            break;  // the file shrank while it was read
        done += got;
    }
    close(fd);
    bytes.resize(done);
    data = std::move(bytes);
    return true;
}
