// Reading case files record by record, as RFC 4180 writes them.
#include "balance/case_file.h"

#include <cerrno>
#include <cstring>

namespace {

// A fault of the file, at its line where line is not 0.
Read fault(const CaseFile& cases, Reason reason, long line, Refusal* why) {
  why->reason = reason;
  why->option = -1;
  why->where = cases.where;
  why->line = line;
  return Read::FAULT;
}

// Reads one record into its fields: fields split at commas outside double
// quotes, a doubled quote inside them one quote, blanks around a field
// dropped, and a record ends at a line end outside quotes (LF, or CR LF).
// Blank records are skipped.
Read readRecord(CaseFile& cases, std::vector<std::string>& fields, Refusal* why) {
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
      if (c == '\0') return fault(cases, Reason::ZERO_BYTE, cases.line + 1, why);
      if (++size > LONGEST_RECORD) return fault(cases, Reason::RECORD_TOO_LONG, first, why);
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
    if (std::ferror(cases.file) && errno == EINTR) return Read::END;
    if (std::ferror(cases.file)) return fault(cases, Reason::READ_ERROR, 0, why);
    // The file ends inside a quoted field: its line ends are no fields'.
    if (quoted) return fault(cases, Reason::QUOTE_NOT_CLOSED, first, why);
    const bool blank = fields.size() == 1 && fields[0].empty() && !wasQuoted;
    if (c == EOF && blank) return Read::END;
    if (c == EOF) ++cases.line;  // a last line without its line end
    if (!blank) {
      cases.recordLine = first;
      return Read::CASE;
    }
  }
}

}  // namespace

bool openCaseFile(const char* path, CaseFile& cases, Refusal* why) {
  const bool standardInput = std::strcmp(path, "-") == 0;
  cases.where = standardInput ? "standard input" : path;
  cases.file = standardInput ? stdin : std::fopen(path, "rb");
  if (!cases.file) {
    fault(cases, Reason::CANNOT_READ, 0, why);
    why->where = path;
    return false;
  }
  // A UTF-8 byte-order mark, as spreadsheets write it, is no part of the
  // text; no option's name begins with another character of its lead byte.
  const int c = std::fgetc(cases.file);
  const bool mark = c == 0xEF && std::fgetc(cases.file) == 0xBB;
  const bool noHeader = c == 0xEF && !(mark && std::fgetc(cases.file) == 0xBF);
  if (c != 0xEF && c != EOF) std::ungetc(c, cases.file);
  std::vector<std::string> names;
  const Read got = noHeader ? Read::END : readRecord(cases, names, why);
  if (got == Read::FAULT) return false;
  if (got == Read::END) {
    fault(cases, Reason::NO_HEADER, 0, why);
    return false;
  }
  for (const std::string& name : names) {
    const int option = findOption(name);
    const bool twice = option >= 0 && cases.inFile[option];
    if (option < 0 || twice) {
      fault(cases, twice ? Reason::COLUMN_TWICE : Reason::COLUMN_NO_OPTION, 0, why);
      why->value = name;
      return false;
    }
    cases.inFile[option] = true;
    cases.columns[cases.columnCount++] = option;
  }
  cases.headerEnd = standardInput ? -1 : std::ftell(cases.file);
  cases.headerLines = cases.line;
  return true;
}

bool rewindCaseFile(CaseFile& cases) {
  if (cases.headerEnd < 0 || std::fseek(cases.file, cases.headerEnd, SEEK_SET) != 0) return false;
  cases.line = cases.headerLines;
  return true;
}

Read readCase(CaseFile& cases, Case& one, Refusal* why) {
  std::vector<std::string> cells;
  const Read got = readRecord(cases, cells, why);
  if (got != Read::CASE) return got;
  if (cells.size() != static_cast<std::size_t>(cases.columnCount)) {
    fault(cases, Reason::FIELD_COUNT, cases.recordLine, why);
    why->fields = static_cast<long>(cells.size());
    why->headerFields = cases.columnCount;
    return Read::FAULT;
  }
  one = Case();
  for (std::size_t i = 0; i < cells.size(); ++i) one.cell(cases.columns[i]) = cells[i];
  return Read::CASE;
}

void closeCaseFile(CaseFile& cases) {
  if (cases.file && cases.file != stdin) std::fclose(cases.file);
  cases.file = nullptr;
}
