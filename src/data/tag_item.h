// The four tag records (characters, locations, themes, times): an id and one text, written
// under their own element names. One implementation serves all four; each class gives its
// names and its text field.
#pragma once

#include <cstring>

#include "data/xml_item.h"
#include "data/xml_scan.h"
#include "data/xml_values.h"
#include "data/xml_write.h"

// Element names of one tag record: <record><id_name>..</id_name><text_name>..</text_name>.
struct TagNames {
  const char* record;
  const char* idName;
  const char* textName;
  int kind;
};

// Derived gives `static constexpr TagNames kNames` and `Text()` (both constnesses), its
// text field of TEXT_SIZE characters.
template <class Derived>
class CTagItem : public CXmlItem {
 public:
  CTagItem() { m_expectedFields = 2; }

  int Parse(FILE* file) override {
    Reset();
    return ParseRecord(file, *this, Derived::kNames.record, ReadField);
  }

  int Write(FILE* file) override {
    const TagNames& n = Derived::kNames;
    fprintf(file, "\t<%s>\n", n.record);
    fprintf(file, "\t\t<%s>%i</%s>\n", n.idName, m_id, n.idName);
    WriteTextElement(file, "\t\t", n.textName, Self().Text());
    fprintf(file, "\t</%s>\n", n.record);
    return 1;
  }

  void CopyFrom(const CXmlItem& other) override {
    const Derived& o = static_cast<const Derived&>(other);
    m_id = o.m_id;
    memcpy(Self().Text(), o.Text(), TEXT_SIZE);
  }

  int Kind() const override { return Derived::kNames.kind; }
  int Id() const override { return m_id; }

  void Reset() {
    m_id = 0;
    Self().Text()[0] = '\0';
  }

  static constexpr size_t TEXT_SIZE = 256;
  int m_id = 0;

 private:
  Derived& Self() { return static_cast<Derived&>(*this); }

  static FieldResult ReadField(CXmlItem& item, const char* name, const char* value) {
    Derived& r = static_cast<Derived&>(item);
    if (strcmp(name, Derived::kNames.idName) == 0)
      ReadInt(value, &r.m_id);
    else if (strcmp(name, Derived::kNames.textName) == 0)
      CopyText(r.Text(), TEXT_SIZE, value);
    else
      return FIELD_UNKNOWN;
    return FIELD_COUNTED;
  }
};
