#include "tools/crashblock/CrashDwarf.h"

#include "platform/base/UniqueFd.h"

#include "crash/modules/CrashNames.h"

#include <dwarf.h>
#include <elfutils/libdw.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <cstring>
#include <map>
#include <set>

namespace rasp {

namespace {
struct TLineRow {
  uint64_t Address;
  const char* File;
  int Line;
};

struct TPiece {
  uint64_t Low, High;
  const char* File;
  int DeclLine;
  std::string Name;       // "Scope.Routine" for the line table
  std::string Qualified;  // "Scope::Routine" for the symbol section
};

std::string BaseName(const char* path) {
  if (!path) return "?";
  const char* slash = std::strrchr(path, '/');
  return slash ? slash + 1 : path;
}

bool SameFile(const char* a, const char* b) {
  if (a == b) return true;
  if (!a || !b) return false;
  return std::strcmp(a, b) == 0;
}

void AddFunction(Dwarf_Die* die, std::vector<TPiece>& pieces) {
  Dwarf_Attribute attr;
  const char* linkage = nullptr;
  if (dwarf_attr_integrate(die, DW_AT_linkage_name, &attr) || dwarf_attr_integrate(die, DW_AT_MIPS_linkage_name, &attr))
    linkage = dwarf_formstring(&attr);
  std::string scope, routine;
  if (linkage) {
    TCrashNameParts parts = SplitCppName(CrashDemangle(linkage));
    scope = parts.OwnerClass;
    routine = parts.Routine;
  }
  if (routine.empty()) {
    const char* name = dwarf_diename(die);
    if (!name) return;
    routine = name;
  }
  // The line table splits class and routine at the first '.'.
  std::replace(scope.begin(), scope.end(), '.', '_');
  std::replace(routine.begin(), routine.end(), '.', '_');
  TPiece p{};
  p.File = dwarf_decl_file(die);
  if (dwarf_decl_line(die, &p.DeclLine) != 0) p.DeclLine = 0;
  p.Name = scope.empty() ? routine : scope + "." + routine;
  p.Qualified = scope.empty() ? routine : scope + "::" + routine;
  Dwarf_Addr base, start, end;
  ptrdiff_t offset = 0;
  while ((offset = dwarf_ranges(die, offset, &base, &start, &end)) > 0) {
    if (end <= start || start == 0) continue;
    p.Low = start;
    p.High = end;
    pieces.push_back(p);
  }
}

// Subprograms with code sit at the top of a unit or inside namespaces.
void Walk(Dwarf_Die* parent, std::vector<TPiece>& pieces) {
  Dwarf_Die child;
  if (dwarf_child(parent, &child) != 0) return;
  do {
    int tag = dwarf_tag(&child);
    if (tag == DW_TAG_subprogram) {
      if (dwarf_hasattr(&child, DW_AT_low_pc) || dwarf_hasattr(&child, DW_AT_ranges)) AddFunction(&child, pieces);
    } else if (tag == DW_TAG_namespace) {
      Walk(&child, pieces);
    }
  } while (dwarf_siblingof(&child, &child) == 0);
}

} // namespace

bool CollectCrashDebugSource(const std::string& binary, TCrashDebugSource& out, std::string& error) {
  // The descriptor must outlive the DWARF handle that reads through it.
  TUniqueFd fd(open(binary.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd) {
    error = "cannot open " + binary + ": " + std::strerror(errno);
    return false;
  }
  std::unique_ptr<Dwarf, decltype(&dwarf_end)> dw(dwarf_begin(fd.Get(), DWARF_C_READ), dwarf_end);
  if (!dw) {
    error = binary + " has no DWARF debug information (" + dwarf_errmsg(-1) + ")";
    return false;
  }

  std::vector<TPiece> pieces;
  std::vector<TLineRow> rows;
  Dwarf_CU* cu = nullptr;
  Dwarf_Die cudie;
  uint8_t unitType;
  while (dwarf_get_units(dw.get(), cu, &cu, nullptr, &unitType, &cudie, nullptr) == 0) {
    if (unitType != DW_UT_compile && unitType != DW_UT_partial) continue;
    Walk(&cudie, pieces);
    Dwarf_Lines* lines;
    size_t count;
    if (dwarf_getsrclines(&cudie, &lines, &count) != 0) continue;
    for (size_t i = 0; i < count; ++i) {
      Dwarf_Line* l = dwarf_onesrcline(lines, i);
      Dwarf_Addr addr;
      int line;
      bool endSequence = false;
      if (!l || dwarf_lineaddr(l, &addr) || dwarf_lineno(l, &line) || dwarf_lineendsequence(l, &endSequence)) continue;
      if (endSequence || addr == 0) continue;
      rows.push_back({addr, dwarf_linesrc(l, nullptr, nullptr), line});
    }
  }
  if (pieces.empty()) {
    error = binary + " has no functions in its DWARF debug information";
    return false;
  }

  std::sort(pieces.begin(), pieces.end(), [](const TPiece& a, const TPiece& b) { return a.Low < b.Low; });
  // Folded duplicates and overlaps: the first piece keeps its range.
  std::vector<TPiece> kept;
  for (TPiece& p : pieces) {
    if (!kept.empty() && p.Low < kept.back().High) continue;
    kept.push_back(std::move(p));
  }
  std::stable_sort(rows.begin(), rows.end(), [](const TLineRow& a, const TLineRow& b) { return a.Address < b.Address; });
  if (kept.back().High > 0xFFFFFFFFull) {
    error = binary + " has code above 4 GiB, which the data block cannot address";
    return false;
  }

  // The symbol section serves lookups by qualified name (the routines the
  // reporter hooks): template instances are never asked for and would make
  // up most of it.
  std::set<std::string> seen;
  for (const TPiece& p : kept)
    if (p.Qualified.find('<') == std::string::npos && seen.insert(p.Qualified).second)
      out.Symbols.push_back({p.Qualified, p.Low});
  out.Functions = kept.size();

  TCrashUnitSource* unit = nullptr;
  const char* unitFile = nullptr;
  uint64_t unitEnd = 0;
  for (const TPiece& p : kept) {
    const char* file = p.File;
    auto first = std::lower_bound(rows.begin(), rows.end(), p.Low,
                                  [](const TLineRow& r, uint64_t a) { return r.Address < a; });
    if (!file && first != rows.end() && first->Address < p.High) file = first->File;
    // A new unit when the file changes or code of no known function lies
    // between (more than alignment padding).
    if (!unit || !SameFile(file, unitFile) || p.Low - unitEnd > 15) {
      out.Units.push_back({BaseName(file), p.Low, 0, {}});
      unit = &out.Units.back();
      unitFile = file;
    }
    int64_t line = p.DeclLine;
    if (first != rows.end() && first->Address == p.Low && SameFile(first->File, file)) line = first->Line;
    unit->Rows.push_back({p.Low, line, p.Name});
    for (auto r = first; r != rows.end() && r->Address < p.High; ++r) {
      if (r->Address == p.Low || r->Line == 0 || !SameFile(r->File, file) || r->Line == line) continue;
      line = r->Line;
      if (unit->Rows.back().Address == r->Address) {
        unit->Rows.back().Line = line;  // two rows at one address: the later one counts
        if (unit->Rows.size() >= 2 && unit->Rows[unit->Rows.size() - 2].Line == line && unit->Rows.back().Name.empty())
          unit->Rows.pop_back();
      } else {
        unit->Rows.push_back({r->Address, line, {}});
      }
    }
    unitEnd = p.High;
    unit->Size = unitEnd - unit->Start;
  }
  return true;
}

} // namespace rasp
