#include "app/editor/fieldinput.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTextDocument>

#include <limits>

namespace app {

FieldValidator::FieldValidator(userdb::FieldKind kind, int maxLength, QObject *parent)
    : QValidator(parent)
    , m_kind(kind)
    , m_maxLength(maxLength) {}

QValidator::State FieldValidator::validate(QString &input, int &pos) const {
    if (input == m_previous)
        return Acceptable;
    // The inserted characters end at the cursor. After it the text is as it was; before them
    // is what the new text still shares with the old one (less, when a selection was replaced).
    const int tail = int(input.size()) - pos;
    const int headLimit = std::max(0, int(m_previous.size()) - tail);
    int start = 0;
    while (start < std::min(pos, headLimit) && input.at(start) == m_previous.at(start))
        ++start;
    const QString insertion = input.mid(start, pos - start);
    QString accepted = userdb::filterPastedText(m_kind, insertion);
    const int room = m_maxLength > 0
                         ? std::max(0, m_maxLength - int(input.size() - insertion.size()))
                         : int(accepted.size());
    accepted.truncate(room);
    if (accepted != insertion) {
        input.replace(start, insertion.size(), accepted);
        pos = start + int(accepted.size());
    }
    return Acceptable;
}

KeyFilter::KeyFilter(userdb::FieldKind kind, RefusalHandler refused, QObject *parent)
    : QObject(parent)
    , m_kind(kind)
    , m_refused(std::move(refused)) {}

bool KeyFilter::eventFilter(QObject *watched, QEvent *event) {
    // On Linux a line edit claims Ctrl+U to delete its line; in these boxes the window's own
    // Ctrl+U (put the captured serial into the slot) wins. Left unaccepted, the key goes to
    // the window's shortcuts.
    if (event->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent *>(event)->matches(QKeySequence::DeleteCompleteLine))
        return true;
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const QString text = key->text();
        const bool shortcut = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
        const bool lineBreak = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (!shortcut && !text.isEmpty() && !lineBreak && text.at(0).isPrint() &&
            userdb::filterPastedText(m_kind, text) != text) {
            if (m_refused)
                m_refused();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void guardLineEdit(QLineEdit *edit, userdb::FieldKind kind, int maxLength,
                   const RefusalHandler &refused) {
    auto *validator = new FieldValidator(kind, maxLength, edit);
    validator->setPreviousText(edit->text());
    // Remember the text after every change (the program's included), so the next change can
    // tell what was inserted.
    QObject::connect(edit, &QLineEdit::textChanged, validator,
                     [validator](const QString &text) { validator->setPreviousText(text); });
    edit->setValidator(validator);
    edit->installEventFilter(new KeyFilter(kind, refused, edit));
    // The validator limits what is typed; text the program puts in is never cut.
    edit->setMaxLength(std::numeric_limits<int>::max());
}

void showProgramText(QLineEdit *edit, const QString &text) {
    if (auto *validator = edit->findChild<FieldValidator *>(QString(), Qt::FindDirectChildrenOnly))
        validator->setPreviousText(text);
    edit->setText(text);
}

AddressEdit::AddressEdit(QWidget *parent)
    : QPlainTextEdit(parent) {
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setTabChangesFocus(true); // a TAB in the address would be written into the file
    installEventFilter(new KeyFilter(
        userdb::FieldKind::DatabaseAddress, [this] { emit characterRefused(); }, this));
}

QString AddressEdit::addressText() const {
    // toPlainText() would make line breaks LF and no-break spaces plain spaces.
    QString text = document()->toRawText();
    const QString lineBreak = QStringLiteral("\r\n");
    text.replace(QChar::ParagraphSeparator, lineBreak);
    text.replace(QChar::LineSeparator, lineBreak);
    return text;
}

void AddressEdit::setAddressText(const QString &text) {
    setPlainText(text); // CR LF, LF and CR each start a new line
}

void AddressEdit::insertFromMimeData(const QMimeData *source) {
    if (!source->hasText())
        return;
    insertPlainText(userdb::filterPastedText(userdb::FieldKind::DatabaseAddress, source->text()));
}

void AddressEdit::inputMethodEvent(QInputMethodEvent *event) {
    const QString commit = event->commitString();
    const QString accepted = userdb::filterPastedText(userdb::FieldKind::DatabaseAddress, commit);
    if (accepted == commit) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    emit characterRefused();
    QInputMethodEvent filtered(event->preeditString(), event->attributes());
    filtered.setCommitString(accepted, event->replacementStart(), event->replacementLength());
    QPlainTextEdit::inputMethodEvent(&filtered);
    event->accept();
}

} // namespace app
