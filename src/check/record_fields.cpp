// The element tables of the record kinds, as their Parse reads them.
#include "check/record_fields.h"

#include <cstring>

namespace {

using F = FieldType;

constexpr FieldRule kSystem[] = {{"project_name", F::Text}, {"map_filename", F::Text},
                                 {"left", F::Real},         {"top", F::Real},
                                 {"right", F::Real},        {"bottom", F::Real},
                                 {"radius", F::Real},       {"location_rels", F::Flag},
                                 {"theme_rels", F::Flag},   {"character_rels", F::Flag},
                                 {"time_rels", F::Flag},    {"user_filename", F::Text},
                                 {nullptr, F::Text}};
constexpr FieldRule kRegion[] = {{"region_id", F::Int},
                                 {"region_description", F::Text},
                                 {"gps_x", F::Real},
                                 {"gps_y", F::Real},
                                 {nullptr, F::Text}};
constexpr FieldRule kContent[] = {{"content_id", F::Int},
                                  {"theme_list", F::ListMark},
                                  {"/theme_list", F::ListMark},
                                  {"theme_id", F::TagId},
                                  {"character_list", F::ListMark},
                                  {"/character_list", F::ListMark},
                                  {"character_id", F::TagId},
                                  {"time_list", F::ListMark},
                                  {"/time_list", F::ListMark},
                                  {"time_id", F::TagId},
                                  {"location_list", F::ListMark},
                                  {"/location_list", F::ListMark},
                                  {"location_id", F::TagId},
                                  {"region_id", F::Int},
                                  {"filename", F::Text},
                                  {"thumbnail", F::Text},
                                  {"title", F::Text},
                                  {"gps_x", F::Real},
                                  {"gps_y", F::Real},
                                  {nullptr, F::Text}};
constexpr FieldRule kCharacter[] = {
    {"character_id", F::Int}, {"character_name", F::Text}, {nullptr, F::Text}};
constexpr FieldRule kLocation[] = {
    {"location_id", F::Int}, {"location_desc", F::Text}, {nullptr, F::Text}};
constexpr FieldRule kTheme[] = {{"theme_id", F::Int}, {"theme_desc", F::Text}, {nullptr, F::Text}};
constexpr FieldRule kTime[] = {{"time_id", F::Int}, {"time_desc", F::Text}, {nullptr, F::Text}};
constexpr FieldRule kUser[] = {{"user_id", F::Int},
                               {"username", F::Text},
                               {"viewed_id", F::Viewed},
                               {"duration", F::Real},
                               {"language", F::Text},
                               {nullptr, F::Text}};

constexpr RecordRules kRules[] = {
    {"system", kSystem},     {"region", kRegion}, {"content", kContent}, {"character", kCharacter},
    {"location", kLocation}, {"theme", kTheme},   {"time", kTime},       {"user_context", kUser},
};

}  // namespace

const RecordRules* RulesFor(const char* element) {
  for (const RecordRules& r : kRules)
    if (std::strcmp(r.element, element) == 0) return &r;
  return nullptr;
}

const FieldRule* FindRule(const RecordRules& rules, const char* name) {
  for (const FieldRule* f = rules.fields; f->name != nullptr; ++f)
    if (std::strcmp(f->name, name) == 0) return f;
  return nullptr;
}
