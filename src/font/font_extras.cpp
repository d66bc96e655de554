#include "font/font_extras.h"

#include "base/extension_block.h"

namespace letterloom::font {

FontExtras readFontExtras(ExtensionKeys &keys)
{
    FontExtras extras;
    extras.otherKeys = keys.rest();
    return extras;
}

QJsonObject fontExtrasKeys(const FontExtras &extras)
{
    return extras.otherKeys;
}

}  // namespace letterloom::font
