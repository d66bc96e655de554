#include "project/project_extras.h"

#include "base/extension_block.h"

namespace letterloom::project {

ProjectExtras readProjectExtras(ExtensionKeys &keys)
{
    ProjectExtras extras;
    extras.otherKeys = keys.rest();
    return extras;
}

QJsonObject projectExtrasKeys(const ProjectExtras &extras)
{
    return extras.otherKeys;
}

}  // namespace letterloom::project
