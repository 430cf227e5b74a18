#include "ui/picture_view.h"

#include <QPainter>

PictureView::PictureView(QWidget* parent) : QWidget(parent)
{
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
}

void PictureView::setPicture(Picture picture)
{
    picture_ = std::move(picture);
    update();
}

void PictureView::paintEvent(QPaintEvent*)
{
    if (!picture_)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    picture_(painter, QRectF(rect()));
}
