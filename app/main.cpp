#include "ui/application.h"

int main(int argc, char *argv[])
{
    return letterloom::ui::runLetterloom(argc, argv);
}
