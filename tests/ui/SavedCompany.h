// A company on disk for the window tests that open one as the user does: an
// association's first year, 2012, with the association template's charts.
#pragma once

#include "app/NewCompany.h"
#include "chart/ChartTemplates.h"
#include "storage/CompanyFiles.h"

#include <QDir>
#include <QTemporaryDir>

#include <string>

namespace kv::test {

// The company file's path in folder ("Föreningen.bok"), or empty when it could not be made.
inline std::string savedAssociation(const QTemporaryDir& folder) {
    const std::string path = QDir(folder.path()).filePath(QStringLiteral("Föreningen.bok")).toStdString();
    CTallvingeDoc made;
    if (!createDefaultCompany(made, {kMallForening, 1, 2012, 12, 2012, folder.path().toStdString()}).ok ||
        !saveCompany(made, path).ok) {
        return {};
    }
    return path;
}

} // namespace kv::test
