// Qt's own texts (file dialogs, the context menus of text boxes, standard buttons) in Simplified
// Chinese, whatever language the machine is set to.
#pragma once

namespace xb::ui {

// Loads Qt's Simplified Chinese translation into the running application; false when the
// translation files are not installed (Qt's texts then stay English, which is no reason to stop).
bool installQtChineseTranslation();

} // namespace xb::ui
