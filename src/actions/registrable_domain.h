// The registrable domain of a host name: the part a person or company
// registers, which the !d and !D placeholders insert.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace qm {

// The trailing labels of `host` that make up its registrable domain. How
// many labels count is decided by the top-level domain from a fixed table of
// 101 domains: 3 for country domains that register under a second level
// ("co.uk", "com.au"), 4 for "us" (city.state.us), 2 for the rest and for any
// domain not in the table. The lookup is exact and case-sensitive, so an
// upper-case host counts 2 labels. A host with no dot, or made only of
// digits and dots, comes back unchanged, as does a host with fewer labels
// than its count.
//   RegistrableDomain(u"x.y.com")     == u"y.com"
//   RegistrableDomain(u"w.x.y.co.uk") == u"y.co.uk"
//   RegistrableDomain(u"v.w.x.ca.us") == u"w.x.ca.us"
//   RegistrableDomain(u"W.X.Y.CO.UK") == u"CO.UK"
//   RegistrableDomain(u"10.0.0.1")    == u"10.0.0.1"
std::u16string RegistrableDomain(std::u16string_view host);

// One row of the table behind RegistrableDomain.
struct DomainLabelCount {
  std::u16string_view domain;  // lower case, no dot: u"uk"
  int labels;
};

// The 101 rows, sorted by domain.
std::span<const DomainLabelCount> RegistrableDomainTable();

}  // namespace qm
