#include "text/line_table.h"

namespace letterloom::text {

void ClearLineTable(LineTable &lines)
{
    lines.clear();
}

}  // namespace letterloom::text
