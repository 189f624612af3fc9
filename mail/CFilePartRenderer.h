#pragma once
// The attachment part: an application/octet-stream header naming the file, and the file's bytes
// in base64 lines of 72 characters.
#include "mail/CPartRenderer.h"
#include "platform/core/CFile.h"

class CFilePartRenderer : public CPartRenderer {
public:
    CFilePartRenderer();

    // Appends the part for the file at `path`; 0, appending nothing, when it cannot be opened.
    BOOL Render(const CString& path, const CString& parameter, CString& body) override;
    // The part written to `sink` while the file is read, a block at a time.
    BOOL RenderTo(const CString& path, const CString& parameter, MailTextSink& sink) override;
    CString ContentTypeName() const override;
    // The header without the "; file=" suffix on the content type.
    CString BuildPartHeader(const CString& path, const CString& parameter) override;
    // The header; with `withFileName`, the content type also names the file. A name that is not
    // ASCII is written as RFC 2231 values (UTF-8, percent-encoded), also as "name" on the content
    // type.
    CString BuildPartHeader(const CString& path, bool withFileName) const;
    // Appends the base64 lines of the open `file`, then one more CR LF. A read error ends the
    // lines where it happened.
    virtual void EncodeFileBody(CFile& file, CString& body);
    // The same lines written to `sink`, a block of lines at a time.
    void EncodeFileTo(CFile& file, MailTextSink& sink);
};

// The last component of `path`: directories (separated by '/' or '\') and a drive such as "C:"
// dropped.
CString FileNameOfPath(const CString& path);
// `name` as a MIME parameter value: as it stands when it is a token (RFC 2045 5.1), else in double
// quotes with '"' and '\' escaped. Line breaks become blanks.
CString ParameterValue(const CString& name);
