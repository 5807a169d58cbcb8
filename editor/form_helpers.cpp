#include "form_helpers.h"

#include "shared/gbk.h"

namespace editor {

int FieldInt(const QLineEdit* edit) { return gbk::ToInt(edit->text().toStdString()); }

}  // namespace editor
