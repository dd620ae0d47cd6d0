// Reading case files record by record, as RFC 4180 writes them.
#include "balance/case_file.h"

#include <cerrno>
#include <cstring>

#include "console/output.h"

namespace {

enum { RECORD = 1, END = 0, FAULT = 2 };

// Reads one record into its fields: fields split at commas outside double
// quotes, a doubled quote inside them one quote, blanks around a field
// dropped, and a record ends at a line end outside quotes (LF, or CR LF).
// Blank records are skipped.
int readRecord(CaseFile& cases, std::vector<std::string>& fields) {
  for (;;) {
    fields.assign(1, std::string());
    const long first = cases.line + 1;
    bool quoted = false;  // inside a quoted part
    bool wasQuoted = false;
    std::size_t size = 0;
    std::string blanks;  // blanks after a field's text, kept if more follows
    int c;
    for (;;) {
      c = std::fgetc(cases.file);
      if (c == EOF) break;
      if (c == '\0') {
        tellError("%s: line %ld: no CSV (a zero byte)", cases.where.c_str(), cases.line + 1);
        return FAULT;
      }
      if (++size > LONGEST_RECORD) {
        tellError("%s: line %ld: no case (longer than %ld bytes)", cases.where.c_str(), first,
                  static_cast<long>(LONGEST_RECORD));
        return FAULT;
      }
      if (c == '\n') ++cases.line;
      std::string& field = fields.back();
      if (quoted) {
        if (c != '"') {
          field += static_cast<char>(c);
        } else {
          const int next = std::fgetc(cases.file);
          if (next == '"')
            field += '"';
          else
            quoted = false, std::ungetc(next, cases.file);
        }
      } else if (c == '\n') {
        break;
      } else if (c == ',') {
        fields.emplace_back(), blanks.clear(), wasQuoted = false;
      } else if (c == ' ' || c == '\t' || c == '\r') {
        if (!field.empty() || wasQuoted) blanks += static_cast<char>(c);
      } else if (c == '"' && field.empty() && !wasQuoted) {
        quoted = wasQuoted = true;
      } else {
        field += blanks + static_cast<char>(c);
        blanks.clear();
      }
    }
    // A stop signal that interrupts the read ends the file quietly: the
    // study ends for the signal.
    if (std::ferror(cases.file) && errno == EINTR) return END;
    if (std::ferror(cases.file)) {
      tellError("%s: read error", cases.where.c_str());
      return FAULT;
    }
    // The file ends inside a quoted field: its line ends are no fields'.
    if (quoted) {
      tellError("%s: line %ld: no CSV (a quote that is not closed)", cases.where.c_str(), first);
      return FAULT;
    }
    const bool blank = fields.size() == 1 && fields[0].empty() && !wasQuoted;
    if (c == EOF && blank) return END;
    if (c == EOF) ++cases.line;  // a last line without its line end
    if (!blank) {
      cases.recordLine = first;
      return RECORD;
    }
  }
}

}  // namespace

int openCaseFile(const char* path, CaseFile& cases) {
  const bool standardInput = std::strcmp(path, "-") == 0;
  cases.where = standardInput ? "standard input" : path;
  cases.file = standardInput ? stdin : std::fopen(path, "rb");
  if (!cases.file) {
    tellError("%s: cannot be read", path);
    return FAULT;
  }
  // A UTF-8 byte-order mark, as spreadsheets write it, is no part of the
  // text; no option's name begins with another character of its lead byte.
  const int c = std::fgetc(cases.file);
  const bool mark = c == 0xEF && std::fgetc(cases.file) == 0xBB;
  if (c == 0xEF && !(mark && std::fgetc(cases.file) == 0xBF)) {
    tellError("%s: no CSV (no header line)", cases.where.c_str());
    return FAULT;
  }
  if (c != 0xEF && c != EOF) std::ungetc(c, cases.file);
  std::vector<std::string> names;
  const int got = readRecord(cases, names);
  if (got == FAULT) return FAULT;
  if (got == END) {
    tellError("%s: no CSV (no header line)", cases.where.c_str());
    return FAULT;
  }
  for (const std::string& name : names) {
    const int option = findOption(name);
    const bool twice = option >= 0 && cases.inFile[option];
    if (option < 0 || twice) {
      tellError("%s: column '%s' %s", cases.where.c_str(), name.c_str(),
                twice ? "comes twice" : "is no option (see --help)");
      return FAULT;
    }
    cases.inFile[option] = true;
    cases.columns[cases.columnCount++] = option;
  }
  return 0;
}

int readCase(CaseFile& cases, Case& one) {
  std::vector<std::string> cells;
  const int got = readRecord(cases, cells);
  if (got != RECORD) return got;
  if (cells.size() != static_cast<std::size_t>(cases.columnCount)) {
    tellError("%s: line %ld has %ld field%s, the header %d", cases.where.c_str(), cases.recordLine,
              static_cast<long>(cells.size()), cells.size() == 1 ? "" : "s", cases.columnCount);
    return FAULT;
  }
  one = Case();
  one.line = cases.recordLine;
  for (std::size_t i = 0; i < cells.size(); ++i) one.cell(cases.columns[i]) = cells[i];
  return RECORD;
}

void closeCaseFile(CaseFile& cases) {
  if (cases.file && cases.file != stdin) std::fclose(cases.file);
  cases.file = nullptr;
}
