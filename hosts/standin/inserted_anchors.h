// The anchors of the HTML that a page is given to insert, read as the
// browser parses them into elements of the page.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qm::standin {

// One <A ...> of a fragment, by the attributes the page answers for.
struct InsertedAnchor {
  std::wstring id, href, target;
};

// The anchors of an HTML fragment, attribute names in any case, values
// quoted either way or bare, and their character references (&amp; &lt;
// &gt; &quot; &#39; &#NN;) decoded; a missing attribute is empty.
//   AnchorsOf(L"<A ID=\"x\" HREF=\"a&amp;b\">") gives {x, a&b, ""}
std::vector<InsertedAnchor> AnchorsOf(std::wstring_view fragment);

}  // namespace qm::standin
