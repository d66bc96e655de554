#pragma once

namespace letterloom::ui {

class TmainForm;
class TfontSizeForm;
class TfontGraphForm;
class TgraphForm;
class TfontForm;
class TdrawForm;
class TtextForm;
class TeffectsForm;

// The program's seven windows, filled in the order in which they are created
// at start-up. A window that reaches another goes through here; a pointer is
// null while its window does not exist yet.
struct Windows {
    TmainForm *main = nullptr;
    TfontSizeForm *fontSize = nullptr;
    TfontGraphForm *fontGraph = nullptr;
    TgraphForm *graph = nullptr;
    TfontForm *font = nullptr;
    TdrawForm *draw = nullptr;
    TtextForm *text = nullptr;
    TeffectsForm *effects = nullptr;  // made when Edit > Text Effects... first opens it
};

}  // namespace letterloom::ui
