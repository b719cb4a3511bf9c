// The program's Qt widgets as the settings store sees them, and the registration of a Qt
// window as a form. Which widget stands for which kind:
//   platform::TMemo, QPlainTextEdit               TMemo       (QTextEdit, rich text: none)
//   QListWidget                                   TListBox
//   QComboBox                                     TComboBox
//   QLineEdit                                     TEdit
//   QDateTimeEdit (QTimeEdit, QDateEdit)          TDateTimePicker
//   QCheckBox                                     TCheckBox
//   QRadioButton                                  TRadioButton
//   platform::TSpinEdit, QSpinBox                 TSpinEdit
//   QDoubleSpinBox                                TAdvSpinEdit
// Everything else (buttons, labels, group boxes, the chart, series, timers) stores nothing.
// The skinnable kinds, check lists, radio groups, panels, labeled, date and currency edits
// have no counterpart here.
#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "formstate/FormAdapter.h"

class QObject;
class QWidget;

namespace formstate {

// A component of a Qt window: the name it is stored under and the object (not owned).
struct NamedObject {
    QString name;
    QObject* object = nullptr;
};

// The kind a Qt object stands for.
Kind QtKindOf(const QObject* object);

// An adapter over `object` (not owned; it must outlive the adapter). The own Visible flag of
// a widget is !isHidden(); objects that are no widgets count as visible. A memo or list
// box keeps the encoding of its last loaded file in a dynamic property of the object.
std::unique_ptr<Component> MakeQtComponent(const QString& name, QObject* object);

// A Qt window as a form: its objectName is the section name, `components` lists its
// components in creation order at the moment of each walk.
class QtForm : public Form {
public:
    QtForm(QWidget* window, std::function<std::vector<NamedObject>()> components);
    QString Name() const override;
    void ForEachComponent(const std::function<void(Component&)>& visit) override;

private:
    QWidget* window_;
    std::function<std::vector<NamedObject>()> components_;
};

// Registers `window` as a form of the application until it is destroyed: the registration
// lives in a QObject child of the window, so Qt's parent ownership ends it.
void RegisterQtForm(QWidget* window, std::function<std::vector<NamedObject>()> components);

}  // namespace formstate
