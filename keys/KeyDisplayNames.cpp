#include "keys/KeyDisplayNames.h"

#include <array>

namespace keys {
namespace {

struct DisplayName {
    int usage;
    std::string_view name;
};

// German keyboards (DIN 2137) and the names Windows gives their keys.
constexpr std::array<DisplayName, 27> kGerman{{
    {40, "Eingabe"},       {42, "Rücktaste"},      {44, "Leertaste"},   {57, "Feststelltaste"},
    {70, "Druck"},         {71, "Rollen"},         {73, "Einfg"},       {74, "Pos1"},
    {75, "Bild auf"},      {76, "Entf"},           {77, "Ende"},        {78, "Bild ab"},
    {79, "Nach rechts"},   {80, "Nach links"},     {81, "Nach unten"},  {82, "Nach oben"},
    {83, "Num"},           {88, "Num Eingabe"},    {99, "Num Entf"},    {101, "Anwendung"},
    {224, "Strg"},         {225, "Umschalt"},      {227, "Windows links"},
    {228, "Strg rechts"},  {229, "Umschalt rechts"}, {230, "Alt Gr"},   {231, "Windows rechts"},
}};

bool IsGerman(std::string_view language)
{
    return language.substr(0, 2) == "de" &&
           (language.size() == 2 || language[2] == '_' || language[2] == '-');
}

}  // namespace

std::string_view DisplayKeyName(int usage, std::string_view language)
{
    if (!IsGerman(language)) return {};
    for (const DisplayName& row : kGerman)
        if (row.usage == usage) return row.name;
    return {};
}

int DisplayKeyUsage(std::string_view name, std::string_view language)
{
    if (!IsGerman(language) || name.empty()) return 0;
    for (const DisplayName& row : kGerman)
        if (row.name == name) return row.usage;
    return 0;
}

}  // namespace keys
