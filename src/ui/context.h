#pragma once

#include "ui/windows.h"

namespace letterloom::project {
struct Workspace;
class Prompter;
class ProjectCommands;
}  // namespace letterloom::project

namespace letterloom::ui {

// What every window is given at creation: the document state, the prompter
// for dialogs and questions, the project commands, and the other windows.
struct Context {
    project::Workspace &workspace;
    project::Prompter &prompter;
    project::ProjectCommands &commands;
    Windows &windows;
};

}  // namespace letterloom::ui
