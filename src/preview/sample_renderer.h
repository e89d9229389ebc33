#pragma once

#include <vector>

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>

#include "preview/text_face.h"

class QThreadPool;

// Everything a row's sample is drawn from, held by value so that any thread may draw it.
struct TSampleJob {
    TTextFace Face;
    QString Text;
    // The sample's area in logical pixels, and the device pixels per logical one.
    QSize Size;
    qreal Scale = 1;
    QRgb Background = 0xFFFFFFFF;
    QRgb Color = 0xFF000000;
    // Colour of borrowed glyphs; invalid to draw them like the others.
    QColor Borrowed;
    // One line, supersampled 4 x 4 and starting 10 pixels in; otherwise every line of the
    // text from the left edge, hinted.
    bool AntiAlias = false;
    // Colour of the reason shown for a face that cannot be drawn.
    QRgb ProblemColor = 0xFF808080;
};

// The sample as an opaque image of Size x Scale device pixels (device pixel ratio Scale).
// Exact faces may be drawn on any thread; faces by family and reasons use Qt's text layout
// and are drawn on the user-interface thread.
QImage RenderSample(const TSampleJob& job);
bool DrawsOnAnyThread(const TSampleJob& job);

// Renders the jobs, those that may be drawn on any thread spread over the pool's threads and
// the calling one; the rest on the calling thread. Results in the order of the jobs.
std::vector<QImage> RenderSamples(const std::vector<TSampleJob>& jobs, QThreadPool* pool);
