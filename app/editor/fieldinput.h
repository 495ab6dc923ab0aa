#pragma once

#include "userdb/fieldrules.h"

#include <QPlainTextEdit>
#include <QValidator>

#include <functional>

class QLineEdit;

namespace app {

// What a box does when it refuses a typed character: the window beeps.
using RefusalHandler = std::function<void()>;

// Keeps refused characters and over-long input out of a line edit, whether typed, pasted,
// dropped or committed by an input method. Text the program puts in is shown whole: only
// growth beyond the limit is cut, and only the characters that were just inserted are filtered.
class FieldValidator : public QValidator {
    Q_OBJECT
public:
    FieldValidator(userdb::FieldKind kind, int maxLength, QObject *parent);
    State validate(QString &input, int &pos) const override;
    // The text as it stood before the change being validated.
    void setPreviousText(const QString &text) { m_previous = text; }

private:
    userdb::FieldKind m_kind;
    int m_maxLength; // 0: no limit
    QString m_previous;
};

// Swallows a typed character that the field refuses, and says so.
class KeyFilter : public QObject {
public:
    KeyFilter(userdb::FieldKind kind, RefusalHandler refused, QObject *parent);
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    userdb::FieldKind m_kind;
    RefusalHandler m_refused;
};

// Puts the validator and the key filter on a line edit (or an editable combo box's edit).
void guardLineEdit(QLineEdit *edit, userdb::FieldKind kind, int maxLength,
                   const RefusalHandler &refused);

// Shows text put in by the program whole, past the filter and the length limit.
void showProgramText(QLineEdit *edit, const QString &text);

// The multi-line database address box. Typed, pasted, dropped and input-method text pass the
// same filter; Tab moves the focus on, Enter makes a new line.
class AddressEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit AddressEdit(QWidget *parent = nullptr);

    // The address as the database file keeps it: every line break is CR LF, and every other
    // character (a no-break space included) exactly as shown.
    QString addressText() const;
    // Shows an address whose line breaks may be CR LF, LF or CR.
    void setAddressText(const QString &text);

    // Pasted and dropped text.
    void insertFromMimeData(const QMimeData *source) override;

signals:
    void characterRefused();

protected:
    void inputMethodEvent(QInputMethodEvent *event) override;
};

} // namespace app
