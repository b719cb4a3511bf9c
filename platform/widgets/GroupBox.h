// A group box drawn the way desktop dialogs draw them: a thin frame whose top edge runs
// through the middle of the caption, the caption set in from the left edge.
#pragma once

#include <QGroupBox>

namespace platform {

class TGroupBox : public QGroupBox {
    Q_OBJECT
public:
    explicit TGroupBox(const QString& caption, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace platform
