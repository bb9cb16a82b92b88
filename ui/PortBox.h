#pragma once
// The port box: an editable combo box that tells its owner just before its list
// drops down, so that the list shows the ports present at that moment.
#include <QComboBox>

#include <functional>

class TPortBox : public QComboBox
{
public:
    using QComboBox::QComboBox;

    std::function<void()> OnDropDown;

    void showPopup() override
    {
        if (OnDropDown)
            OnDropDown();
        QComboBox::showPopup();
    }
};
