// What the reader does with each element inside each kind of record, for the checks of
// values: numbers, switches, texts, tag ids and viewings.
#pragma once

enum class FieldType { Int, Real, Text, Flag, TagId, ListMark, Viewed };

struct FieldRule {
  const char* name;
  FieldType type;
};

struct RecordRules {
  const char* element;      // "region"
  const FieldRule* fields;  // ended by a rule with a null name
};

// The rules of a record element, or null for an element that is no record.
const RecordRules* RulesFor(const char* element);
// The rule of an element inside a record, or null when the reader does not know it.
const FieldRule* FindRule(const RecordRules& rules, const char* name);
