#include "globalshortcut.h"

#include "core/settingsschema.h"
#include "desktop/launchcommand.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeySequence>
#include <QSettings>

namespace wordlumen {

namespace {

constexpr Qt::KeyboardModifiers kShortcutModifiers =
    Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier | Qt::MetaModifier;
constexpr Qt::KeyboardModifiers kRequiredModifiers =
    Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

bool isModifierKey(int key)
{
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_ScrollLock:
        return true;
    default:
        return false;
    }
}

QString textOf(QKeyCombination keys)
{
    return QKeySequence(keys).toString(QKeySequence::NativeText);
}

} // namespace

GlobalShortcut::GlobalShortcut(std::unique_ptr<ShortcutBackend> backend, QObject *parent)
    : QObject(parent)
    , m_backend(std::move(backend))
    , m_keys(*parseKeys(SettingsSchema::globalShortcut().defaultValue.toString()))
{
    if (const auto stored =
            parseKeys(SettingsSchema::globalShortcut().stored(QSettings()).toString())) {
        m_keys = *stored;
    }
    if (!m_backend) {
        m_state = State::Unavailable;
        return;
    }
    connect(m_backend.get(), &ShortcutBackend::registered, this, &GlobalShortcut::onRegistered);
    connect(m_backend.get(), &ShortcutBackend::failed, this, &GlobalShortcut::onFailed);
    connect(m_backend.get(), &ShortcutBackend::activated, this, [this] {
        if (m_state == State::Registered) {
            emit activated();
        }
    });
}

GlobalShortcut::~GlobalShortcut() = default;

std::optional<QKeyCombination> GlobalShortcut::parseKeys(const QString &text)
{
    const QKeySequence sequence = QKeySequence::fromString(text, QKeySequence::PortableText);
    if (sequence.count() != 1) {
        return std::nullopt;
    }
    const QKeyCombination keys = sequence[0];
    if (keys.key() == Qt::Key_unknown || isModifierKey(keys.key()) ||
        !(keys.keyboardModifiers() & kRequiredModifiers)) {
        return std::nullopt;
    }
    return keys;
}

void GlobalShortcut::start()
{
    if (m_backend) {
        registerKeys(m_keys);
    }
}

void GlobalShortcut::registerKeys(QKeyCombination keys)
{
    setState(State::Registering);
    m_backend->registerKeys(keys);
}

void GlobalShortcut::onRegistered(const QString &desktopKeys)
{
    if (m_state == State::Recording) {
        return; // an answer to a registration the recording interrupted
    }
    m_desktopKeys = desktopKeys;
    if (m_candidate) {
        const bool changed = *m_candidate != m_keys;
        m_keys = *m_candidate;
        m_candidate.reset();
        m_notice = Notice::None;
        QSettings().setValue(SettingsSchema::globalShortcut().key,
                             QKeySequence(m_keys).toString(QKeySequence::PortableText));
        if (changed) {
            emit keysChanged();
        }
    }
    setState(State::Registered);
}

void GlobalShortcut::onFailed(ShortcutBackend::Failure failure)
{
    if (m_state == State::Recording) {
        return;
    }
    if (failure == ShortcutBackend::Failure::Unavailable) {
        m_candidate.reset();
        setState(State::Unavailable);
        return;
    }
    if (m_candidate && *m_candidate != m_keys) {
        // The new combination could not be had: keep the one that worked.
        m_refused = *m_candidate;
        m_refusedFailure = failure;
        m_candidate.reset();
        m_notice = Notice::KeptPrevious;
        registerKeys(m_keys);
        return;
    }
    m_candidate.reset();
    m_failure = failure;
    setState(State::Failed);
}

void GlobalShortcut::startRecording()
{
    if (!m_backend || m_state == State::Unavailable) {
        return;
    }
    m_backend->unregister();
    m_notice = Notice::None;
    setState(State::Recording);
}

void GlobalShortcut::cancelRecording()
{
    if (m_state != State::Recording) {
        return;
    }
    m_notice = Notice::None;
    m_candidate = m_keys;
    registerKeys(m_keys);
}

bool GlobalShortcut::recordKey(int key, int modifiers)
{
    if (m_state != State::Recording) {
        return false;
    }
    const auto mods = Qt::KeyboardModifiers(modifiers) & kShortcutModifiers;
    if (isModifierKey(key)) {
        return true; // the rest of the combination follows
    }
    if (key == Qt::Key_Escape && mods == Qt::NoModifier) {
        cancelRecording();
        return true;
    }
    if (!(mods & kRequiredModifiers) || key == 0 || key == Qt::Key_unknown) {
        m_notice = Notice::NeedsModifier;
        emit stateChanged();
        return true;
    }
    m_notice = Notice::None;
    m_candidate = QKeyCombination(mods, Qt::Key(key));
    registerKeys(*m_candidate);
    return true;
}

QString GlobalShortcut::keysText() const
{
    return textOf(m_keys);
}

QString GlobalShortcut::statusText() const
{
    switch (m_state) {
    case State::Recording:
        return m_notice == Notice::NeedsModifier
                   ? QStringLiteral("组合键要包含 Ctrl、Alt 或 Super，请再按一次；Esc 取消。")
                   : QStringLiteral("请按下新的组合键（要包含 Ctrl、Alt 或 Super）；Esc 取消。");
    case State::Registering:
        return QStringLiteral("正在注册 %1…").arg(textOf(m_candidate.value_or(m_keys)));
    case State::Registered:
        if (m_notice == Notice::KeptPrevious) {
            const QString refused = textOf(m_refused);
            return m_refusedFailure == ShortcutBackend::Failure::Taken
                       ? QStringLiteral("%1 已被其他程序占用，仍在用 %2。").arg(refused, keysText())
                       : QStringLiteral("没能注册 %1，仍在用 %2。").arg(refused, keysText());
        }
        if (m_backend && m_backend->desktopChoosesKeys() && !m_desktopKeys.isEmpty()) {
            return QStringLiteral("桌面把 %1 分配给了 Wordlumen：在任意程序里选中文字后按下它，"
                                  "浮卡就会解释。")
                .arg(m_desktopKeys);
        }
        return QStringLiteral("在任意程序里选中文字，按 %1，浮卡就会解释它。").arg(keysText());
    case State::Failed:
        switch (m_failure) {
        case ShortcutBackend::Failure::Taken:
            return QStringLiteral("%1 已被其他程序占用，请换一个组合。").arg(keysText());
        case ShortcutBackend::Failure::NotMappable:
            return QStringLiteral("这个键盘上按不出 %1，请换一个组合。").arg(keysText());
        case ShortcutBackend::Failure::Refused:
        case ShortcutBackend::Failure::Unavailable:
            break;
        }
        return QStringLiteral("桌面没有同意注册 "
                              "%1。可以换个组合再试，或在系统的键盘设置里自己绑定下面的命令。")
            .arg(keysText());
    case State::Unavailable:
        break;
    }
    return QStringLiteral(
        "这个桌面不让程序自己注册全局快捷键。请在系统的键盘设置里添加一个自定义快捷键，"
        "命令填写下面这一行。");
}

bool GlobalShortcut::hasProblem() const
{
    return m_state == State::Failed || m_state == State::Unavailable || m_notice != Notice::None;
}

bool GlobalShortcut::needsManualSetup() const
{
    return m_state == State::Unavailable ||
           (m_state == State::Failed && m_failure == ShortcutBackend::Failure::Refused);
}

QString GlobalShortcut::manualCommand() const
{
    return LaunchCommand::commandLine({QStringLiteral("--selection")});
}

QString GlobalShortcut::manualSteps() const
{
    return QStringLiteral("GNOME：设置 → 键盘 → 查看及自定义快捷键 → 自定义快捷键 → 添加；"
                          "KDE：系统设置 → 快捷键 → 添加新的 → 命令或脚本。"
                          "快捷键可以设成 %1。")
        .arg(keysText());
}

void GlobalShortcut::copyCommand() const
{
    QGuiApplication::clipboard()->setText(manualCommand());
}

void GlobalShortcut::setState(State state)
{
    // The texts follow more than the state (the notice, the desktop's keys): always tell.
    m_state = state;
    emit stateChanged();
}

} // namespace wordlumen
