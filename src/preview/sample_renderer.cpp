#include "preview/sample_renderer.h"

#include <atomic>

#include <QPainter>
#include <QRegularExpression>
#include <QSemaphore>
#include <QThreadPool>

#include "preview/bitmap32.h"

namespace {

// Supersampling level of the anti-aliased sample: 4 x 4 samples per pixel.
constexpr int AntiAliasLevel = 2;
// Where the anti-aliased line starts inside its area.
constexpr int AntiAliasLeft = 10;

const QRegularExpression& LineBreaks()
{
    static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
    return breaks;
}

// A face by family at the device's resolution.
TTextFace DeviceFace(const TTextFace& face, qreal scale)
{
    if (scale == 1)
        return face;
    QFont font = face.Font();
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * scale);
    else
        font.setPixelSize(qRound(font.pixelSize() * scale));
    return TTextFace::FromFont(font, face.Style());
}

void RenderByFamily(const TSampleJob& job, QImage& image)
{
    if (!job.AntiAlias) {
        QPainter painter(&image);
        painter.setPen(QColor::fromRgba(job.Color));
        int y = 0;
        for (const QString& line : job.Text.split(LineBreaks())) {
            if (y >= job.Size.height())
                break;
            job.Face.Draw(painter, QPointF(0, y), line);
            y += job.Face.LineSpacing();
        }
        return;
    }
    // Qt's own text drawn four times larger and averaged by the supersampling bitmap.
    try {
        TBitmap32 bitmap;
        bitmap.SetSize(image.width(), image.height());
        bitmap.Clear(job.Background | 0xFF000000u);
        bitmap.SetTextFace(DeviceFace(job.Face, job.Scale));
        const QString line = QString(job.Text).replace(LineBreaks(), " ");
        bitmap.RenderText(qRound(AntiAliasLeft * job.Scale), 0, line.toStdString(), AntiAliasLevel,
                          job.Color | 0xFF000000u);
        for (int y = 0; y < image.height(); ++y) {
            const TColor32* from = bitmap.GetPixelPtr(0, y);
            auto* to = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                to[x] = from[x] | 0xFF000000u;
        }
    } catch (const EBitmapError&) {
        // No memory for the bitmap: the row keeps its background instead of the sample.
    }
}

}  // namespace

bool DrawsOnAnyThread(const TSampleJob& job) { return job.Face.IsExact(); }

QImage RenderSample(const TSampleJob& job)
{
    const QSize device(qRound(job.Size.width() * job.Scale), qRound(job.Size.height() * job.Scale));
    QImage image(device, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.setDevicePixelRatio(job.Scale);
    image.fill(job.Background);
    if (job.Face.IsExact()) {
        TTextFace face = job.Face;
        face.SetBorrowedColor(job.Borrowed);
        if (job.AntiAlias) {
            const QString line = QString(job.Text).replace(LineBreaks(), " ");
            face.Paint(image, QPointF(AntiAliasLeft, 0), line, job.Color, AntiAliasLevel);
            return image;
        }
        int y = 0;
        for (const QString& line : job.Text.split(LineBreaks())) {
            if (y >= job.Size.height())
                break;
            face.Paint(image, QPointF(0, y), line, job.Color, 0);
            y += face.LineSpacing();
        }
        return image;
    }
    if (!job.Face.Problem().empty()) {
        QPainter painter(&image);
        painter.setPen(QColor::fromRgba(job.ProblemColor));
        painter.drawText(QRect(QPoint(job.AntiAlias ? AntiAliasLeft : 0, 0), job.Size),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                         QStringLiteral("Cannot draw this font: %1")
                             .arg(QString::fromStdString(job.Face.Problem())));
        return image;
    }
    if (!job.Face.IsNull())
        RenderByFamily(job, image);
    return image;
}

std::vector<QImage> RenderSamples(const std::vector<TSampleJob>& jobs, QThreadPool* pool)
{
    std::vector<QImage> images(jobs.size());
    std::vector<std::size_t> shared;
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        if (DrawsOnAnyThread(jobs[i]))
            shared.push_back(i);
        else
            images[i] = RenderSample(jobs[i]);
    }
    // Every thread takes the next job until none is left; each row is independent.
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t at = next++; at < shared.size(); at = next++)
            images[shared[at]] = RenderSample(jobs[shared[at]]);
    };
    // Only threads free at once help: a pool busy with other work leaves the rows to the
    // calling thread rather than keeping it waiting.
    const int helpers =
        pool && shared.size() > 1
            ? std::min<int>(static_cast<int>(shared.size()) - 1, std::max(pool->maxThreadCount(), 1))
            : 0;
    QSemaphore done;
    int started = 0;
    for (int i = 0; i < helpers; ++i)
        started += pool->tryStart([&] {
            work();
            done.release();
        });
    work();
    done.acquire(started);
    return images;
}
