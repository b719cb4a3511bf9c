// The push button. A focused button is pressed by Enter as well as by Space, as desktop
// users expect of any button; Qt's own button takes Enter only inside a dialog.
#pragma once

#include <QPushButton>

namespace platform {

class TButton : public QPushButton {
    Q_OBJECT
public:
    explicit TButton(const QString& caption, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace platform
