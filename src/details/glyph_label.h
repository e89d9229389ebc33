#pragma once

#include <QString>
#include <QWidget>

#include "preview/text_face.h"

// A label that draws its text through a face, centred both ways.
class TGlyphLabel : public QWidget {
    Q_OBJECT
public:
    explicit TGlyphLabel(QWidget* parent = nullptr);

    void SetFace(const TTextFace& face);
    const QString& Text() const { return FText; }
    void SetText(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TTextFace FFace;
    QString FText;
};
