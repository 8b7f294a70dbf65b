#include "ui/forms.h"

namespace tarmacia::ui {

FormShell::FormShell(QWidget* parent) : QDialog(parent) { resize(480, 360); }

} // namespace tarmacia::ui
