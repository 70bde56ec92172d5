// What the windows hand the viewer and take from the user: a voucher's
// receipts as pages to show (the stored ones checked against what was
// stored), the files a user chooses or drops to attach.
#pragma once

#include "attachments/AttachmentPages.h"
#include "attachments/AttachmentStore.h"
#include "model/CompanyRecords.h"

#include <QIcon>
#include <QStringList>

#include <string>
#include <vector>

class QMimeData;
class QWidget;

namespace kv::ui {

// The stored receipts of the company at companyPath. A receipt whose file is
// missing, or no longer holds the bytes that were attached, is a page that
// says so.
std::vector<AttachmentSource> storedAttachmentSources(const std::string& companyPath,
                                                      const std::vector<AttachmentRecord>& records);
// Files chosen to be attached, not yet stored.
std::vector<AttachmentSource> chosenAttachmentSources(const std::vector<CheckedAttachment>& chosen);

// "Bifoga underlag...": Qt's file dialog over parent, several PDF, JPEG or
// PNG files at once; the chosen files, none on Cancel. It starts where the
// last choice was made.
QStringList chooseAttachmentFiles(QWidget* parent);

// The local files of a drag (file URLs), none when it carries no files.
QStringList droppedFiles(const QMimeData* data);

// The paper clip that marks a voucher with receipts in the lists.
QIcon attachmentMarkIcon();

// "Underlag: 2 filer"
QString attachmentCountText(std::size_t count);

} // namespace kv::ui
