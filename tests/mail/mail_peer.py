#!/usr/bin/python3
"""Python's side of the mail tests.

  mail_peer.py b64 FILE     prints the standard base64 of FILE's bytes, without line breaks
  mail_peer.py parse FILE   parses FILE as a mail with Python's email parser and prints JSON:
                            its headers (raw, and with encoded words decoded), defects, and each
                            leaf part's type, charset, file name (of the disposition, and the
                            content type's name), transfer encoding and decoded
                            bytes (base64 again, to carry them in JSON)
"""
import base64
import email
import email.header
import email.policy
import email.utils
import json
import sys


def parse(path):
    with open(path, "rb") as f:
        message = email.message_from_binary_file(f, policy=email.policy.compat32)
    parts = []
    for part in message.walk():
        if part.is_multipart():
            continue
        payload = part.get_payload(decode=True) or b""
        parts.append({
            "type": part.get_content_type(),
            "charset": part.get_content_charset(),
            "filename": part.get_filename(),
            "name": email.utils.collapse_rfc2231_value(part.get_param("name")) if part.get_param("name") else None,
            "encoding": part.get("Content-Transfer-Encoding"),
            "data": base64.b64encode(payload).decode(),
            "defects": [type(d).__name__ for d in part.defects],
        })
    return {
        "headers": [[k, v] for k, v in message.items()],
        "decoded": {k: str(email.header.make_header(email.header.decode_header(v))) for k, v in message.items()},
        "multipart": message.is_multipart(),
        "boundary": message.get_boundary(),
        "defects": [type(d).__name__ for d in message.defects],
        "parts": parts,
    }


def main():
    mode, path = sys.argv[1], sys.argv[2]
    if mode == "b64":
        with open(path, "rb") as f:
            sys.stdout.write(base64.b64encode(f.read()).decode())
    else:
        json.dump(parse(path), sys.stdout)


if __name__ == "__main__":
    main()
