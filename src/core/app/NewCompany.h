// A new company set up as the window program sets it up when the user takes
// every default: the first period, a template, both charts approved as the
// editors show them and the VAT rules approved as the rules dialog shows them.
#pragma once

#include "model/TallvingeDoc.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kv {

struct NewCompanyRequest {
    std::string templateName; // a built-in template or a user template of the template file
    std::int32_t fromMonth = 1;
    std::int32_t fromYear = 0;
    std::int32_t toMonth = 12;
    std::int32_t toYear = 0;
    std::string templateFolder; // where the user templates are
};

struct NewCompanyResult {
    bool ok = false;
    std::string error;                 // why the company could not be set up
    std::vector<std::string> messages; // everything the user would have been told, in order
};

// Clears the document and sets up the company in it. On failure the
// document holds no usable company and must not be saved.
NewCompanyResult createDefaultCompany(CTallvingeDoc& doc, const NewCompanyRequest& request);

} // namespace kv
