#pragma once
// A pair of small arrow buttons, up above down. Pressing one raises its event
// once; holding it repeats the event after the first delay (400 ms) and then
// every repeat interval (100 ms) until it is released.
#include <QWidget>

class QTimer;

class TSpinButton : public QWidget
{
    Q_OBJECT
public:
    explicit TSpinButton(QWidget* parent = nullptr);

    // Tests shorten the auto-repeat; the program keeps 400 and 100 ms.
    void SetRepeatTiming(int firstDelayMs, int intervalMs);
    int FirstDelay() const { return firstDelayMs_; }
    int RepeatInterval() const { return intervalMs_; }

    QWidget* UpButton() const;
    QWidget* DownButton() const;

signals:
    void UpClick();
    void DownClick();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    class Arrow;
    void Press(bool up);
    void Release();
    void Repeat();

    Arrow* up_ = nullptr;
    Arrow* down_ = nullptr;
    QTimer* repeat_ = nullptr;
    int firstDelayMs_ = 400;
    int intervalMs_ = 100;
    int held_ = 0;             // +1 up, -1 down, 0 none
    Arrow* focused_ = nullptr; // the button that shows the focus frame
};
