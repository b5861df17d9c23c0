#include "packerror.h"

namespace wordlumen {

QString PackError::message() const
{
    switch (m_kind) {
    case Kind::EmptyFile:
        return QStringLiteral("文件里没有可读取的文字。");
    case Kind::NoValidEntries:
        return QStringLiteral("没有识别到有效词条。请使用设置页里的提示词重新生成补充包。");
    case Kind::UnsupportedFileType:
        return QStringLiteral("只支持导入 MD 或 TXT 文件。");
    case Kind::ReadFailed:
        return QStringLiteral("文件读取失败，请确认它是 UTF-8 编码的 MD 或 TXT 文件。");
    case Kind::PackageNotFound:
        return QStringLiteral("这个补充包已经不存在。");
    case Kind::FileSystem:
        return m_detail;
    }
    return {};
}

} // namespace wordlumen
