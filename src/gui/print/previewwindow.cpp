#include "print/previewwindow.h"

#include "common/objectnames.h"

#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

PreviewWindow::PreviewWindow(QWidget *parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint)
{
    // A dialog to the window system, so that it stays above the frame.
    setObjectName(object_name::preview_window);
    image_ = new QLabel;
    image_->setAlignment(Qt::AlignCenter);
    scroll_ = new QScrollArea(this);
    scroll_->setWidget(image_);
    scroll_->setWidgetResizable(true);
    scroll_->setBackgroundRole(QPalette::Dark);
    auto *end = new QPushButton(u"イメージ表示を終わる(&E)"_s, this);
    end->setObjectName(object_name::preview_end_button);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(end, 0, Qt::AlignLeft);
    layout->addWidget(scroll_);
    connect(end, &QPushButton::clicked, this, [this] {
        hide();
        setEnabled(false);
    });
}

void PreviewWindow::show_page(const QImage &page, const QString &caption)
{
    image_->setPixmap(QPixmap::fromImage(page));
    setWindowTitle(caption);
    setEnabled(true);
    if (!isVisible())
        resize(page.width() + 60, page.height() + 90);
    show();
    raise();
}
