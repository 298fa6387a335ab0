#pragma once
// Every style of the library in the style registry. A program hands
// RegisterAllStyles to StartThemeLibrary as its registry step; each style
// goes to its own fixed place, so the order in which the families register
// here does not change the order the registry shows.

namespace hv {

void RegisterAllStyles();

}  // namespace hv
