#include "dialog/dialog_prepare.h"

#include "dialog/dialog_header.h"
#include "dialog/markup_base.h"
#include "dialog/markup_classes.h"
#include "dialog/markup_fold.h"
#include "dialog/markup_localise.h"
#include "dialog/markup_resource.h"

XmlNodePtr loadDialogMarkup(std::wstring_view name) { return documentElement(loadMarkupResource(name)); }

DialogModel prepareDialog(const XmlNodePtr& root) {
  inheritBaseDialogs(root);
  applyClasses(root);
  localiseMarkup(root);
  DialogModel model;
  model.root = copyFolded(*root);
  model.fontSize = dialogPointSize(*model.root);
  return model;
}
