#include "ui/SpinButton.h"

#include "ui/Pictures.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTimer>
#include <algorithm>

// One of the two halves: paints itself and hands mouse presses to the owner,
// which keeps the timing.
class TSpinButton::Arrow : public QWidget
{
public:
    Arrow(TSpinButton* owner, bool up) : QWidget(owner), owner_(owner), up_(up) {}

    void SetPressed(bool pressed)
    {
        if (pressed == pressed_)
            return;
        pressed_ = pressed;
        update();
    }

protected:
    void paintEvent(QPaintEvent* /*event*/) override
    {
        QPainter p(this);
        QStyleOptionButton option;
        option.initFrom(this);
        option.state |= pressed_ ? QStyle::State_Sunken : QStyle::State_Raised;
        style()->drawPrimitive(QStyle::PE_PanelButtonCommand, &option, &p, this);

        const QPixmap& picture = Picture();
        const QSize size = picture.deviceIndependentSize().toSize();
        QPoint at((width() - size.width()) / 2, (height() - size.height()) / 2);
        if (pressed_)
            at += QPoint(1, 1);
        p.drawPixmap(at, picture);

        if (owner_->hasFocus() && owner_->focused_ == this) {
            QStyleOptionFocusRect focus;
            focus.initFrom(this);
            focus.rect = rect().adjusted(2, 2, -2, -2);
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
        }
    }

    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() != Qt::LeftButton) {
            QWidget::mousePressEvent(event);
            return;
        }
        owner_->Press(up_);
    }

    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (event->button() != Qt::LeftButton) {
            QWidget::mouseReleaseEvent(event);
            return;
        }
        owner_->Release();
    }

private:
    // Drawn for the screen the button is on, again when it moves to another.
    const QPixmap& Picture()
    {
        const qreal ratio = devicePixelRatioF();
        if (ratio != pictureRatio_) {
            pictureRatio_ = ratio;
            enabledPicture_ = SpinArrowPicture(up_, true, ratio);
            disabledPicture_ = SpinArrowPicture(up_, false, ratio);
        }
        return isEnabled() ? enabledPicture_ : disabledPicture_;
    }

    TSpinButton* owner_;
    bool up_;
    bool pressed_ = false;
    qreal pictureRatio_ = 0;
    QPixmap enabledPicture_;
    QPixmap disabledPicture_;
};

TSpinButton::TSpinButton(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    up_ = new Arrow(this, true);
    down_ = new Arrow(this, false);
    focused_ = up_;
    repeat_ = new QTimer(this);
    // Coarse timers may fire a little early; the first delay must hold.
    repeat_->setTimerType(Qt::PreciseTimer);
    connect(repeat_, &QTimer::timeout, this, &TSpinButton::Repeat);
    resize(20, 25);
}

void TSpinButton::SetRepeatTiming(int firstDelayMs, int intervalMs)
{
    firstDelayMs_ = std::max(1, firstDelayMs);
    intervalMs_ = std::max(1, intervalMs);
}

QWidget* TSpinButton::UpButton() const
{
    return up_;
}

QWidget* TSpinButton::DownButton() const
{
    return down_;
}

void TSpinButton::resizeEvent(QResizeEvent* event)
{
    const int upHeight = height() / 2;
    up_->setGeometry(0, 0, width(), upHeight);
    down_->setGeometry(0, upHeight, width(), height() - upHeight);
    QWidget::resizeEvent(event);
}

void TSpinButton::keyPressEvent(QKeyEvent* event)
{
    const bool up = event->key() == Qt::Key_Up;
    if (!up && event->key() != Qt::Key_Down) {
        QWidget::keyPressEvent(event);
        return;
    }
    Arrow* const previous = focused_;
    focused_ = up ? up_ : down_;
    previous->update();
    focused_->update();
    if (up)
        emit UpClick();
    else
        emit DownClick();
}

void TSpinButton::focusInEvent(QFocusEvent* event)
{
    focused_->update();
    QWidget::focusInEvent(event);
}

void TSpinButton::focusOutEvent(QFocusEvent* event)
{
    focused_->update();
    QWidget::focusOutEvent(event);
}

// A hidden or disabled button never sees the release, so the repeat must
// stop here (also when a parent is hidden or disabled).
void TSpinButton::hideEvent(QHideEvent* event)
{
    Release();
    QWidget::hideEvent(event);
}

void TSpinButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange && !isEnabled())
        Release();
    QWidget::changeEvent(event);
}

void TSpinButton::Press(bool up)
{
    Release();
    Arrow* const arrow = up ? up_ : down_;
    held_ = up ? 1 : -1;
    focused_->update();
    focused_ = arrow;
    arrow->SetPressed(true);
    // Started before the event goes out: a handler that disables the widget
    // stops it again.
    repeat_->start(firstDelayMs_);
    if (up)
        emit UpClick();
    else
        emit DownClick();
}

void TSpinButton::Release()
{
    if (held_ == 0)
        return;
    held_ = 0;
    repeat_->stop();
    up_->SetPressed(false);
    down_->SetPressed(false);
}

void TSpinButton::Repeat()
{
    // A message box opened by a handler takes the mouse: the release would
    // never come back here.
    const QWidget* modal = QApplication::activeModalWidget();
    if (held_ == 0 || (modal && modal != window())) {
        Release();
        return;
    }
    repeat_->start(intervalMs_);
    if (held_ > 0)
        emit UpClick();
    else
        emit DownClick();
}
