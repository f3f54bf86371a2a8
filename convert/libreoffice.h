#pragma once
// The spreadsheet application on this platform: LibreOffice, run headless.
//
// The calls of a file only record a conversion; Finish starts `soffice --convert-to` once
// for every kind of conversion asked for (one reading of the inputs, one filter of the
// outputs), with all their files, because a start costs about a second and a file a few
// hundredths. Many files of one kind are shared among up to four instances at once, one
// per processor. What LibreOffice 7.4 does, as measured:
// - It exits 0 even when it wrote nothing, so a file counts only when its output exists
//   and no "Error:" line names it.
// - A comma-separated file must be read with an explicit character set or Chinese text is
//   garbled: UTF-8 when the file is valid UTF-8, else GB18030 (which reads GBK as itself).
//   Text written (csv, txt) is GB18030, the engine code page. Read as it comes, a cell
//   that looks like a number becomes one, and long digit strings (identity-card numbers)
//   lose digits, "007" its zeros: such columns are read as text (libreoffice.cpp).
// - The XML spreadsheet filter fails on a workbook read from xls or xlsx but works on one
//   read from comma-separated text, so a workbook goes to XML by way of a csv file.
// - An instance already running with the same profile would take the work over and
//   return at once; each instance of a Finish therefore gets a fresh private profile
//   (about 0.1 s more than a used one).
//
// Inputs are handed over as links with short ASCII names in a private folder: two inputs
// with the same name in different folders, or names in GBK bytes, would otherwise clash
// or be misread, and LibreOffice's lock files stay out of the user's folders. Each output
// is put in place by an atomic replacement, so a failed conversion leaves no partial file
// and an older file at the new path as it was.
// A start that crashes is trusted with none of its files; each is then tried alone. No
// start may hang the program for ever: one that prints nothing for ten minutes is killed,
// with everything it started, and its files count as failed.

// MakeLibreOfficeFactory (spreadsheet.h) looks soffice up when its first application is
// created; Create gives nullptr when there is none.

#include <optional>
#include <string>

namespace convert {

// The first "soffice" on PATH that is an executable regular file, as an absolute path.
std::optional<std::string> FindSoffice();

}  // namespace convert
