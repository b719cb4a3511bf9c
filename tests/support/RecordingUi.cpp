#include "tests/support/RecordingUi.h"

namespace testing_support {

void RecordingUi::ShowMessage(const QString& text) {
    events << QStringLiteral("message: ") + text;
    if (onBox) onBox();
}

void RecordingUi::Beep() {
    events << QStringLiteral("beep");
}

void RecordingUi::ShowErrorBox(const QString& text) {
    events << QStringLiteral("error: ") + text;
    if (onBox) onBox();
}

QString RecordingUi::GetSaveFileName(QWidget*, const QString& caption, const QString& suggestedName,
                                     const QString&) {
    events << QStringLiteral("save dialog: ") + caption + QStringLiteral(" | ") + suggestedName;
    return saveReply;
}

QStringList RecordingUi::Messages() const {
    QStringList out;
    for (const QString& e : events)
        if (e.startsWith(QStringLiteral("message: "))) out << e.mid(9);
    return out;
}

QStringList RecordingUi::Errors() const {
    QStringList out;
    for (const QString& e : events)
        if (e.startsWith(QStringLiteral("error: "))) out << e.mid(7);
    return out;
}

}  // namespace testing_support
