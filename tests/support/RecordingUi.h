// A stand-in for the message box, the error box and the beep that records every call in
// order, so tests check what the user would have seen and heard without blocking.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "platform/widgets/Ui.h"
#include "tests/support/QtPrinters.h"

namespace testing_support {

class RecordingUi : public platform::Ui {
public:
    RecordingUi() : scope_(*this) {}

    void ShowMessage(const QString& text) override;
    void Beep() override;
    void ShowErrorBox(const QString& text) override;
    // Records "save dialog: <caption> | <suggested name>" and answers `saveReply`.
    QString GetSaveFileName(QWidget* parent, const QString& caption, const QString& suggestedName,
                            const QString& filter) override;

    // Every call in order: "message: <text>", "beep", "error: <text>", "save dialog: ...".
    QStringList events;
    int Beeps() const { return events.count(QStringLiteral("beep")); }
    QStringList Messages() const;
    QStringList Errors() const;
    void Clear() { events.clear(); }

    // The path the save dialog answers; empty: the user cancelled.
    QString saveReply;

    // Runs while a box is "open", as the user's modal loop would.
    std::function<void()> onBox;

private:
    platform::ScopedUi scope_;
};

}  // namespace testing_support
