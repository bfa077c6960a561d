#include "app/Splash.h"

#include "layout/App.h"
#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/PictureBox.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QPalette>
#include <QThread>
#include <QWindow>

namespace velmora {

namespace {

// Long enough for any window manager to map a window; a display that never shows
// it (none at all) must not hold start-up much longer.
constexpr int exposeWaitMs = 3000;
// The upgrade line: a band across the bottom of the picture, over its "loading" caption,
// repainted this often at most.
constexpr int progressHeight = 34;
constexpr int progressPaintMs = 100;

} // namespace

TFrmSplash::TFrmSplash() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("FrmSplash"));
    setFixedSize(layout::splash.client);
    move(keepOnScreen(QRect(QPoint(285, 193), size())));
    QLabel* picture = makeBackgroundBox(this, layout::splash);
    try {
        Pictures pictures;
        showPicture(pictures, picture, QString::fromLatin1(layout::splash.background), true);
    } catch (const PictureError&) {
        // Only a broken build lacks it; the splash is then plain and start-up goes on.
    }
}

void TFrmSplash::showProgress(const QString& doing, int percent) {
    if (!progress_) {
        progress_ = new QLabel(this);
        progress_->setObjectName(QStringLiteral("LblAtualizacao"));
        progress_->setGeometry(0, height() - progressHeight, width(), progressHeight);
        progress_->setAlignment(Qt::AlignCenter);
        progress_->setAutoFillBackground(true);
        QPalette palette = progress_->palette();
        palette.setColor(QPalette::Window, QColor(12, 34, 28));
        palette.setColor(QPalette::WindowText, Qt::white);
        progress_->setPalette(palette);
        progress_->show();
    }
    const QString text = QStringLiteral("Atualizando o catálogo: %1… %2%").arg(doing).arg(percent);
    const bool changed = text != shown_;
    if (!changed && lastPaint_.isValid() && !lastPaint_.hasExpired(progressPaintMs))
        return;
    if (changed) {
        shown_ = text;
        progress_->setText(text);
        progress_->setAccessibleName(text);
        progress_->repaint();
    }
    lastPaint_.start();
    // Keeps the window answering the display (exposure, moves) during a long upgrade.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TFrmSplash::showPainted(QElapsedTimer& shown) {
    show();
    const QDeadlineTimer deadline(exposeWaitMs);
    while (!(windowHandle() != nullptr && windowHandle()->isExposed()) && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    shown.start();
    raise();
    repaint();
    // Hands the painted picture to the display before the caller blocks.
    QCoreApplication::processEvents();
}

} // namespace velmora
