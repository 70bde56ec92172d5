#include "common/WindowContent.h"

namespace kv::ui {

EmptyWindowContent::EmptyWindowContent(QWidget* parent) : WindowContent(parent) {
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
}

} // namespace kv::ui
