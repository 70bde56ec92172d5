// The company, period and template files as JSON, field by field.
#pragma once

#include "model/TallvingeDoc.h"
#include "storage/CompanyArchive.h"

#include <nlohmann/json.hpp>

namespace kv {

using Json = nlohmann::ordered_json;

Json companyToJson(const CompanyState& doc);
Json periodToJson(const std::string& owner, const CompanyState& doc);
Json templatesToJson(const TemplateList& templates);

} // namespace kv
