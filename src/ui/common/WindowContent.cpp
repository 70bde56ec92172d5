#include "common/WindowContent.h"

#include "reports/ReportData.h"

namespace kv::ui {

std::optional<ReportData> WindowContent::reportData() const {
    return std::nullopt;
}

EmptyWindowContent::EmptyWindowContent(QWidget* parent) : WindowContent(parent) {
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
}

} // namespace kv::ui
