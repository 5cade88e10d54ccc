// A realistic markup document of about the requested size, built from
// dialog-markup-like elements: pages with classes, captions, formatted text
// with entities, controls with their attributes, lists and comments.
#pragma once

#include <cstddef>
#include <string>

inline std::string benchDialogDocument(std::size_t targetBytes) {
  std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<dialogs>\n";
  for (int page = 0; text.size() < targetBytes; ++page) {
    const std::string n = std::to_string(page);
    text += "  <dialog lid=\"page" + n + "\" base=\"stddlg.xml\" width=\"32em\" font-size=\"9\" caption=\"Page " + n +
            "\">\n"
            "    <!-- page " + n + ": options of the installation -->\n"
            "    <class name=\"hint\" margin=\"0 0 0.5em 0\" font-size=\"8\" display=\"block\"/>\n"
            "    <caption>Brantel Setup &#8211; step " + n + "</caption>\n"
            "    <div display=\"block\" padding=\"1em 1em 0 1em\" margin-bottom=\"0.5em\">\n"
            "      Welcome to <b>Brantel</b> &amp; its tools. Setup will install the product into the folder\n"
            "      shown below; press <a href=\"https://example.invalid/help?topic=" + n + "&amp;lang=en\">Help</a>"
            " for more.<br/>\n"
            "      Version 1.0.0." + n + " &lt;stable&gt;\n"
            "    </div>\n"
            "    <div class=\"hint\" lid=\".folder\">Installation folder:</div>\n"
            "    <text name=\"folder\" width=\"28em\" value=\"C:\\Program Files\\Brantel\" validate=\"path\"/>\n"
            "    <checkbox name=\"desktop\" checked=\"true\" lid=\".desktop\">Create a desktop &amp;icon</checkbox>\n"
            "    <checkbox name=\"autostart\" checked=\"false\" depends=\"desktop\">Start with Windows</checkbox>\n"
            "    <combo name=\"language\" sort=\"true\" width=\"12em\">\n";
    for (const char* language : {"English", "Deutsch", "Fran\xC3\xA7" "ais", "Espa\xC3\xB1ol", "Italiano"}) {
      text += "      <item value=\"" + std::string(language) + "\">" + language + "</item>\n";
    }
    text += "    </combo>\n"
            "    <list name=\"components\" height=\"6em\" checkboxes=\"true\">\n"
            "      <column width=\"18em\" lid=\".name\">Component</column>\n"
            "      <column width=\"8em\" align=\"right\">Size</column>\n"
            "    </list>\n"
            "    <progress name=\"progress\" width=\"100%\" range=\"1000\"/>\n"
            "    <xbutton type=\"back\"/><xbutton type=\"next\" default=\"true\"/><xbutton type=\"cancel\"/>\n"
            "  </dialog>\n";
  }
  return text + "</dialogs>\n";
}
