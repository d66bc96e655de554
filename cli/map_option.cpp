#include "map_option.h"

#include "cli.h"

#include "base/error.h"
#include "base/file_io.h"

#include <QFileInfo>

namespace letterloom::cli {

void addMapOption(CommandLine &line)
{
    line.addOption({kMapOption,
                    QStringLiteral("Read the font's codes through this character map instead of its own: a code page "
                                   "(windows-1251, KOI8-R, ISO-8859-7, cp437, ...), none, or a table FILE.tbl of "
                                   "HEX=text lines. A font of Unicode characters (BDF in the ISO10646 registry, "
                                   "BMFont, PSF with a Unicode table) is placed at the codes of this map."),
                    QStringLiteral("NAME|FILE.tbl")});
}

std::optional<font::CharMap> mapOption(const CommandLine &line)
{
    if (!line.isSet(kMapOption))
        return std::nullopt;
    const QString value = line.value(kMapOption);
    const QFileInfo file(value);
    if (file.isFile() || value.endsWith(QStringLiteral(".tbl"), Qt::CaseInsensitive)) {
        if (file.exists() && file.size() > font::kMaxTableBytes)
            throw Error(QStringLiteral("The table is larger than %1 KB").arg(font::kMaxTableBytes / 1024));
        font::TableRead read = font::readTable(readWholeFile(value), fileNameOf(value));
        for (const QString &skipped : read.skipped)
            printMessage(QStringLiteral("%1: %2").arg(value, skipped));
        return std::move(read.map);
    }
    if (value.compare(QStringLiteral("none"), Qt::CaseInsensitive) == 0)
        return font::CharMap();
    if (!font::CharMap::codePageName(value))
        throw UsageError(QStringLiteral("Unknown character map \"%1\"; known: none, %2, or a table FILE.tbl")
                             .arg(value, font::CharMap::codePageNames().join(QStringLiteral(", "))));
    return font::CharMap::fromCodePage(value);
}

}  // namespace letterloom::cli
