#include "card/controls/textaccessible.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QMetaMethod>
#include <QObject>
#include <QPointer>
#include <QString>

#include <utility>

namespace wordlumen {
namespace {

// Set while the factory asks Qt Quick for the interface it wraps.
thread_local bool askingQtQuick = false;

constexpr QChar kBullet = QChar(0x2022);

bool isPassword(const QObject *input)
{
    // TextInput.Normal is 0; Password, NoEcho and PasswordEchoOnEdit all hide the text.
    return input->property("echoMode").toInt() != 0;
}

QString masked(const QObject *input, const QString &text)
{
    return isPassword(input) ? QString(text.size(), kBullet) : text;
}

// Reports each change of the field's text as the text removed and the text
// inserted where the old and new text first differ.
class TextChangeReporter final : public QObject
{
    Q_OBJECT

public:
    explicit TextChangeReporter(QObject *input)
        : QObject(input)
        , m_input(input)
        , m_last(input->property("text").toString())
    {
        const QMetaObject *meta = input->metaObject();
        const QMetaMethod changed = meta->method(meta->indexOfSignal("textChanged()"));
        const QMetaMethod report =
            metaObject()->method(metaObject()->indexOfSlot("reportChange()"));
        connect(input, changed, this, report);
    }

public Q_SLOTS:
    void reportChange()
    {
        const QString now = m_input->property("text").toString();
        const QString before = std::exchange(m_last, now);
        if (!QAccessible::isActive()) {
            return;
        }
        qsizetype head = 0;
        while (head < before.size() && head < now.size() && before[head] == now[head]) {
            ++head;
        }
        qsizetype tail = 0;
        while (tail < before.size() - head && tail < now.size() - head &&
               before[before.size() - 1 - tail] == now[now.size() - 1 - tail]) {
            ++tail;
        }
        const QString removed = before.mid(head, before.size() - head - tail);
        const QString inserted = now.mid(head, now.size() - head - tail);
        if (!removed.isEmpty()) {
            QAccessibleTextRemoveEvent event(m_input, int(head), masked(m_input, removed));
            QAccessible::updateAccessibility(&event);
        }
        if (!inserted.isEmpty()) {
            QAccessibleTextInsertEvent event(m_input, int(head), masked(m_input, inserted));
            QAccessible::updateAccessibility(&event);
        }
    }

private:
    QObject *m_input;
    QString m_last;
};

// Qt Quick's interface for a field, with editing added and a password
// field's content masked; or for a label, with its name as its text.
class TextAccessible final : public QAccessibleInterface,
                             public QAccessibleTextInterface,
                             public QAccessibleEditableTextInterface
{
public:
    enum class Kind
    {
        Field,
        Label
    };

    TextAccessible(QObject *input, QAccessibleInterface *inner, Kind kind)
        : m_input(input)
        , m_inner(inner)
        , m_kind(kind)
    {
        if (kind == Kind::Field) {
            new TextChangeReporter(input);
        }
    }
    ~TextAccessible() override
    {
        // Qt Quick's interface was registered when it was made; it goes with this one.
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(m_inner));
    }

    bool isValid() const override { return !m_input.isNull() && m_inner->isValid(); }
    QObject *object() const override { return m_input; }
    QWindow *window() const override { return m_inner->window(); }
    QList<QPair<QAccessibleInterface *, QAccessible::Relation>>
    relations(QAccessible::Relation match) const override
    {
        return m_inner->relations(match);
    }
    QAccessibleInterface *focusChild() const override { return m_inner->focusChild(); }
    QAccessibleInterface *childAt(int x, int y) const override { return m_inner->childAt(x, y); }
    QAccessibleInterface *parent() const override { return m_inner->parent(); }
    QAccessibleInterface *child(int index) const override { return m_inner->child(index); }
    int childCount() const override { return m_inner->childCount(); }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return m_inner->indexOfChild(child);
    }
    QString text(QAccessible::Text kind) const override
    {
        const QString value = m_inner->text(kind);
        return kind == QAccessible::Value ? masked(m_input, value) : value;
    }
    void setText(QAccessible::Text kind, const QString &text) override
    {
        m_inner->setText(kind, text);
    }
    QRect rect() const override { return m_inner->rect(); }
    QAccessible::Role role() const override { return m_inner->role(); }
    QAccessible::State state() const override
    {
        QAccessible::State state = m_inner->state();
        if (m_kind == Kind::Label) {
            // Qt Quick calls every label focusable, so a reader's list of
            // controls fills with text; only a label Tab reaches is.
            state.focusable = state.focused || m_input->property("activeFocusOnTab").toBool();
            return state;
        }
        state.editable = !m_input->property("readOnly").toBool();
        state.passwordEdit = isPassword(m_input);
        return state;
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface) {
            return static_cast<QAccessibleTextInterface *>(this);
        }
        if (type == QAccessible::EditableTextInterface && m_kind == Kind::Field) {
            return static_cast<QAccessibleEditableTextInterface *>(this);
        }
        return m_inner->interface_cast(type);
    }

    // QAccessibleTextInterface: Qt Quick's answers, masked for a password.
    void selection(int index, int *start, int *end) const override
    {
        innerText()->selection(index, start, end);
    }
    int selectionCount() const override { return innerText()->selectionCount(); }
    void addSelection(int start, int end) override { innerText()->addSelection(start, end); }
    void removeSelection(int index) override { innerText()->removeSelection(index); }
    void setSelection(int index, int start, int end) override
    {
        innerText()->setSelection(index, start, end);
    }
    int cursorPosition() const override { return innerText()->cursorPosition(); }
    void setCursorPosition(int position) override { innerText()->setCursorPosition(position); }
    QString text(int start, int end) const override
    {
        if (m_kind == Kind::Label) {
            return labelText().mid(start, end < 0 ? -1 : end - start);
        }
        return masked(m_input, innerText()->text(start, end));
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int *start,
                             int *end) const override
    {
        if (m_kind == Kind::Label) {
            return labelPart(offset - 1, boundary, start, end);
        }
        return masked(m_input, innerText()->textBeforeOffset(offset, boundary, start, end));
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int *start,
                            int *end) const override
    {
        if (m_kind == Kind::Label) {
            return labelPart(offset + 1, boundary, start, end);
        }
        return masked(m_input, innerText()->textAfterOffset(offset, boundary, start, end));
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int *start,
                         int *end) const override
    {
        if (m_kind == Kind::Label) {
            return labelPart(offset, boundary, start, end);
        }
        return masked(m_input, innerText()->textAtOffset(offset, boundary, start, end));
    }
    int characterCount() const override
    {
        return m_kind == Kind::Label ? int(labelText().size()) : innerText()->characterCount();
    }
    QRect characterRect(int offset) const override { return innerText()->characterRect(offset); }
    int offsetAtPoint(const QPoint &point) const override
    {
        return innerText()->offsetAtPoint(point);
    }
    void scrollToSubstring(int start, int end) override
    {
        innerText()->scrollToSubstring(start, end);
    }
    QString attributes(int offset, int *start, int *end) const override
    {
        return innerText()->attributes(offset, start, end);
    }

    // QAccessibleEditableTextInterface: through the field's own operations,
    // so the edit is undoable and reported like a typed one.
    void deleteText(int start, int end) override
    {
        QMetaObject::invokeMethod(m_input, "remove", Q_ARG(int, start), Q_ARG(int, end));
    }
    void insertText(int offset, const QString &text) override
    {
        QMetaObject::invokeMethod(m_input, "insert", Q_ARG(int, offset), Q_ARG(QString, text));
    }
    void replaceText(int start, int end, const QString &text) override
    {
        deleteText(start, end);
        insertText(start, text);
    }

private:
    QAccessibleTextInterface *innerText() const { return m_inner->textInterface(); }

    // A label is short: a character is a character, any larger part is all of it.
    QString labelText() const { return m_inner->text(QAccessible::Name); }
    QString labelPart(int offset, QAccessible::TextBoundaryType boundary, int *start,
                      int *end) const
    {
        const QString text = labelText();
        if (offset < 0 || offset >= text.size()) {
            *start = *end = -1;
            return {};
        }
        if (boundary == QAccessible::CharBoundary) {
            *start = offset;
            *end = offset + 1;
            return text.mid(offset, 1);
        }
        *start = 0;
        *end = int(text.size());
        return text;
    }

    QPointer<QObject> m_input;
    QAccessibleInterface *m_inner;
    Kind m_kind;
};

QAccessibleInterface *textFactory(const QString &, QObject *object)
{
    if (askingQtQuick || object == nullptr) {
        return nullptr;
    }
    const bool field = object->inherits("QQuickTextInput");
    if (!field && !object->inherits("QQuickText")) {
        return nullptr;
    }
    askingQtQuick = true;
    QAccessibleInterface *inner = QAccessible::queryAccessibleInterface(object);
    askingQtQuick = false;
    if (inner == nullptr || inner->textInterface() == nullptr) {
        return nullptr;
    }
    return new TextAccessible(object, inner,
                              field ? TextAccessible::Kind::Field : TextAccessible::Kind::Label);
}

} // namespace

void installTextAccessibility()
{
    QAccessible::installFactory(textFactory);
}

} // namespace wordlumen

#include "textaccessible.moc"
