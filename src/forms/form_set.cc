#include "forms/form_set.h"

#include "forms/item_reader.h"
#include "forms/translate.h"
#include "frame/session.h"
#include "platform/files.h"
#include "util/dates.h"

namespace qav {
namespace {

struct FormSetState {
  int16_t form_count = 0;
  int16_t max_fields = 0;
  std::vector<FormDef> forms;      // index 0 is form 1
  std::vector<LookupDef> lookups;  // index 0 is lookup 1
};

FormSetState& State() {
  static FormSetState state;
  return state;
}

// Reads the records of one file, stopping at the first fault.
class Loader {
 public:
  Loader(std::string content, std::string_view name) : reader_(std::move(content)), name_(name) {}

  bool Load(FormSetState* out, std::string* error) {
    if (!Run(out)) {
      *error = name_ + ", line " + std::to_string(reader_.line()) + ": " + fault_;
      return false;
    }
    return true;
  }

 private:
  bool Fail(std::string fault) {
    fault_ = std::move(fault);
    return false;
  }

  bool Number(int16_t* v, const char* what, int lowest, int highest) {
    std::string why;
    if (!reader_.ReadNumber(v, &why)) return Fail(std::string(what) + ": " + why);
    if (*v < lowest || *v > highest) {
      return Fail(std::string(what) + " " + std::to_string(*v) + " is outside " +
                  std::to_string(lowest) + " to " + std::to_string(highest));
    }
    return true;
  }

  bool Text(std::string* t, const char* what) {
    if (!reader_.ReadText(t)) return Fail(std::string("the file ends before ") + what);
    return true;
  }

  bool Window(std::array<int16_t, 4>* w) {
    const char* names[] = {"window top", "window left", "window bottom", "window right"};
    for (int i = 0; i < 4; ++i) {
      if (!Number(&(*w)[i], names[i], 0, 255)) return false;
    }
    return true;
  }

  bool Run(FormSetState* out) {
    reader_.SkipCommentLines();
    int16_t forms = 0, max_fields = 0;
    if (!Number(&forms, "the form count", 2, kMaxForms)) return false;
    if (!Number(&max_fields, "the most fields of a form", 1, kMaxFieldsPerForm)) return false;
    out->form_count = forms;
    out->max_fields = max_fields;
    for (int f = 1; f <= forms; ++f) {
      reader_.SkipCommentLines();
      FormDef form;
      if (!Text(&form.FormKeys, "a form record")) return false;
      if (!Number(&form.FieldCount, "the field count", 0, max_fields)) return false;
      if (!Number(&form.NextForm, "the next form", 0, forms)) return false;
      if (!Window(&form.FormWindow)) return false;
      for (int i = 1; i <= form.FieldCount; ++i) {
        FieldDef d;
        if (!Number(&d.FieldRow, "the field row", 0, 255) ||
            !Number(&d.FieldCol, "the field column", 0, 255) ||
            !Text(&d.FieldPrompt, "a field's prompt") ||
            !Number(&d.FieldLength, "the field length", 0, kMaxFieldLength) ||
            !Number(&d.FieldLineWidth, "the line width", 0, d.FieldLength) ||
            !Number(&d.FieldInfoWidth, "the info width", 0, 255) ||
            !Number(&d.FieldFlags, "the field flags", 0, 15) ||
            !Number(&d.FieldType, "the field type", -32768, 32767) ||
            !Number(&d.FieldLookup, "the field's lookup list", 0, kMaxLookups) ||
            !Text(&d.FieldOptions, "a field's options")) {
          return false;
        }
        d.FieldValue.assign(static_cast<size_t>(d.FieldLength), ' ');
        d.FieldPrompt = Translate(d.FieldPrompt);
        d.FieldOptions = Translate(d.FieldOptions);
        form.fields.push_back(std::move(d));
      }
      out->forms.push_back(std::move(form));
    }
    reader_.SkipCommentLines();
    int16_t lookups = 0;
    if (!Number(&lookups, "the lookup count", 1, kMaxLookups)) return false;
    for (int l = 1; l <= lookups; ++l) {
      reader_.SkipCommentLines();
      LookupDef d;
      if (!Number(&d.LookupFile, "the lookup's file", -32768, 32767) ||
          !Number(&d.LookupKey, "the lookup's key", 0, 127) || !Window(&d.LookupWindow) ||
          !Number(&d.LookupFilterForm, "the lookup's filter form", 0, forms) ||
          !Text(&d.LookupHeading, "a lookup's heading") ||
          !Number(&d.LookupNested, "the nested lookup", 0, lookups)) {
        return false;
      }
      d.LookupHeading = Translate(d.LookupHeading);
      out->lookups.push_back(std::move(d));
    }
    // What the program relies on.
    for (const FormDef& form : out->forms) {
      for (const FieldDef& field : form.fields) {
        if (field.FieldLookup > lookups) {
          return Fail("a field names lookup list " + std::to_string(field.FieldLookup) +
                      " of " + std::to_string(lookups));
        }
      }
    }
    if (out->forms[0].FieldCount < 4) return Fail("form 1 needs its four selection fields");
    if (out->forms[1].FieldCount < 1) return Fail("form 2 needs its answer field");
    return true;
  }

  ItemReader reader_;
  std::string name_;
  std::string fault_;
};

void SetInitialValues() {
  const std::string today = DateToEditText(Session().WorkDate);
  SetFieldValue(1, 1, today);
  SetFieldValue(1, 2, today);
  SetFieldValue(1, 3, "1");
  SetFieldValue(1, 4, "999");
}

}  // namespace

bool LoadFormSetFrom(std::string content, std::string_view name, std::string* error) {
  ResetFormSet();
  if (content.find('\0') != std::string::npos) {
    *error = std::string(name) + ": binary content, not a form file";
    return false;
  }
  FormSetState loaded;
  Loader loader(std::move(content), name);
  if (!loader.Load(&loaded, error)) return false;
  State() = std::move(loaded);
  SetInitialValues();
  return true;
}

bool LoadFormSet(std::string* error) {
  const std::string path = Session().RootDir + "FORMS\\" + Session().ProgramName + ".QPN";
  std::string content;
  if (!FileExists(path) || !ReadWholeFile(path, &content, 16 << 20)) {
    ResetFormSet();
    *error = path + ": the form file cannot be read";
    return false;
  }
  return LoadFormSetFrom(std::move(content), path, error);
}

int16_t FormCount() { return State().form_count; }
int16_t MaxFields() { return State().max_fields; }
int16_t LookupCount() { return static_cast<int16_t>(State().lookups.size()); }

const FormDef* Form(int form) {
  const auto& forms = State().forms;
  return form >= 1 && form <= static_cast<int>(forms.size()) ? &forms[static_cast<size_t>(form - 1)]
                                                            : nullptr;
}

const FieldDef* Field(int form, int field) {
  const FormDef* f = Form(form);
  if (f == nullptr || field < 1 || field > static_cast<int>(f->fields.size())) return nullptr;
  return &f->fields[static_cast<size_t>(field - 1)];
}

const LookupDef* Lookup(int lookup) {
  const auto& lookups = State().lookups;
  return lookup >= 1 && lookup <= static_cast<int>(lookups.size())
             ? &lookups[static_cast<size_t>(lookup - 1)]
             : nullptr;
}

void SetFieldValue(int form, int field, std::string_view value) {
  FieldDef* d = const_cast<FieldDef*>(Field(form, field));
  if (d == nullptr) return;
  std::string v(value.substr(0, static_cast<size_t>(d->FieldLength)));
  v.resize(static_cast<size_t>(d->FieldLength), ' ');
  d->FieldValue = std::move(v);
}

std::string FieldValue(int form, int field) {
  const FieldDef* d = Field(form, field);
  return d == nullptr ? std::string() : d->FieldValue;
}

void ResetFormSet() { State() = FormSetState{}; }

}  // namespace qav
