#include "dialog/markup_localise.h"

#include <optional>
#include <string>

#include "app/exception.h"
#include "resource/resource_bundle.h"
#include "base/text.h"
#include "dialog/markup_xml.h"

namespace {

std::optional<std::wstring> tableText(const std::wstring& key) {
  try {
    return lookupString(std::wstring_view(key));
  } catch (const XExceptionResourceString&) {
    return std::nullopt;
  }
}

std::wstring stringKey(const std::wstring& lid, const std::wstring& prefix) {
  return lid.front() == L'.' && !prefix.empty() ? prefix + lid : lid;
}

void localiseByKey(const XmlNodePtr& element, const std::wstring& key) {
  const std::wstring* title = xmlAttribute(*element, L"title");
  const std::wstring current = title ? *title : std::wstring();
  std::wstring localised = lookupString(std::wstring_view(key + L".title"), current);
  if (localised != current) {
    element->attributes.set(L"title", std::move(localised));
  }
  if (CXmlNode* text = firstXmlText(*element)) {
    if (std::optional<std::wstring> found = tableText(key)) {
      text->text = std::move(*found);
    }
  }
}

void localiseButton(const XmlNodePtr& element, const std::wstring& type) {
  std::wstring caption = lookupString(std::wstring_view(L"xbutton." + asciiLowerCase(type)), L"");
  if (!caption.empty()) {
    setFirstXmlText(element, std::move(caption));
  }
}

void localiseCaption(const XmlNodePtr& element, const std::wstring& prefix) {
  const CXmlNode* text = firstXmlText(*element);
  const std::wstring current = text ? text->text : std::wstring();
  std::wstring localised = lookupString(std::wstring_view(prefix + L".caption"), current);
  if (localised != current) {
    setFirstXmlText(element, std::move(localised));
  }
}

void localiseElement(const XmlNodePtr& element, const std::wstring& prefix) {
  const std::wstring* lid = xmlAttribute(*element, L"lid");
  const std::wstring* type = xmlAttribute(*element, L"type");
  if (lid && !lid->empty()) {
    localiseByKey(element, stringKey(*lid, prefix));
  } else if (isXmlElement(element.get(), L"xbutton") && type) {
    localiseButton(element, *type);
  } else if (isXmlElement(element.get(), L"caption")) {
    localiseCaption(element, prefix);
  }
  for (XmlNodePtr child = element->firstChild(); child; child = child->nextSibling()) {
    if (child->isElement()) {
      localiseElement(child, prefix);
    }
  }
}

}  // namespace

void localiseMarkup(const XmlNodePtr& root) {
  std::wstring prefix;
  if (const std::wstring* lid = xmlAttribute(*root, L"lid")) {
    prefix = *lid;
    removeXmlAttribute(*root, L"lid");
  }
  localiseElement(root, prefix);
}
