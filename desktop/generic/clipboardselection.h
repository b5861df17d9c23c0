#pragma once

#include "desktop/selectionsource.h"

namespace wordlumen {

/**
 * The selection through Qt's clipboard: its selection mode where the platform
 * has one (the X11 primary selection), otherwise, or when that holds nothing
 * but white space, the clipboard itself.
 */
class ClipboardSelection final : public SelectionSource
{
public:
    [[nodiscard]] QString selectedText() const override;
};

} // namespace wordlumen
