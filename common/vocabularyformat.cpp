// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocabularyformat.h"

namespace VocabularyFormat {

std::string_view withoutByteOrderMark(std::string_view firstLine)
{
    constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
    if (firstLine.substr(0, byteOrderMark.size()) == byteOrderMark)
        firstLine.remove_prefix(byteOrderMark.size());
    return firstLine;
}

std::optional<QString> filmLineOf(std::string_view firstLine)
{
    firstLine = withoutByteOrderMark(firstLine);
    const std::string_view::size_type separator = firstLine.find(SeparatorCore);
    if (separator != std::string_view::npos && separator > 0)
        return std::nullopt;
    return QString::fromUtf8(firstLine.data(), int(firstLine.size()));
}

} // namespace VocabularyFormat
