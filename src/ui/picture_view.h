#pragma once

#include <QWidget>
#include <functional>

class QPainter;
class QRectF;

// A window area that shows a picture drawn by a function into a painter and a rectangle: the same
// function draws it on a printed page.
class PictureView : public QWidget {
public:
    using Picture = std::function<void(QPainter&, const QRectF&)>;

    explicit PictureView(QWidget* parent = nullptr);
    // Shows the picture from now on; an empty one leaves the area blank.
    void setPicture(Picture picture);
    bool hasPicture() const { return bool(picture_); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Picture picture_;
};
