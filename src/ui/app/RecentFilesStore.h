// Keeps the list of recent companies in the user's settings
// (~/.config/Kvistoran/Kvistoran.conf).
#pragma once

#include "app/RecentFiles.h"

namespace kv::ui {

RecentFiles loadRecentFiles();
void storeRecentFiles(const RecentFiles& files);

} // namespace kv::ui
