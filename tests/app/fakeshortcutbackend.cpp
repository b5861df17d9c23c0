#include "fakeshortcutbackend.h"

#include <QKeySequence>

namespace wordlumen::testing {

void FakeShortcutBackend::registerKeys(QKeyCombination keys)
{
    if (m_failure) {
        m_registered = false;
        emit failed(*m_failure);
        return;
    }
    m_registered = true;
    emit registered(QKeySequence(keys).toString(QKeySequence::NativeText));
}

} // namespace wordlumen::testing
