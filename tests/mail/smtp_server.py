#!/usr/bin/python3
"""A local SMTP server for the mail tests.

Listens on 127.0.0.1 on a free port and writes that port to FOLDER/port once it accepts
connections. Each mail's raw data (as received, after the transparent dots are removed) goes to
FOLDER/mailN.eml with its envelope in FOLDER/mailN.json; with --auth, AUTH LOGIN and PLAIN are
offered (--mechanisms limits them) and each login's credentials go to FOLDER/auth.json. With
--cert and --key the server offers STARTTLS and requires it (AUTH then only over TLS), or with
--implicit-tls speaks TLS from the first byte. The EHLO reply offers 8BITMIME.
"""
import argparse
import asyncio
import json
import os
import logging
import ssl

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword


def write_atomically(path, data):
    with open(path + ".tmp", "wb") as f:
        f.write(data)
    os.rename(path + ".tmp", path)


class Store:
    def __init__(self, folder):
        self.folder = folder
        self.count = 0

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        base = os.path.join(self.folder, "mail%d" % self.count)
        envelope_text = {"from": envelope.mail_from, "to": envelope.rcpt_tos}
        write_atomically(base + ".json", json.dumps(envelope_text).encode())
        write_atomically(base + ".eml", envelope.original_content)  # written last: the mail is complete
        return "250 OK stored"


def make_authenticator(folder):
    def authenticate(server, session, envelope, mechanism, auth_data):
        if isinstance(auth_data, LoginPassword):
            record = {"mechanism": mechanism, "login": auth_data.login.decode("latin-1"),
                      "password": auth_data.password.decode("latin-1")}
            write_atomically(os.path.join(folder, "auth.json"), json.dumps(record).encode())
        return AuthResult(success=True)
    return authenticate


async def serve(args):
    loop = asyncio.get_running_loop()
    store = Store(args.folder)
    options = {"data_size_limit": 0, "auth_require_tls": False, "loop": loop}
    if args.auth:
        options["authenticator"] = make_authenticator(args.folder)
        excluded = {"LOGIN", "PLAIN"} - set(args.mechanisms.split(","))
        options["auth_exclude_mechanism"] = sorted(excluded)
    context = None
    if args.cert:
        context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
        context.load_cert_chain(args.cert, args.key)
        if not args.implicit_tls:
            options.update(tls_context=context, require_starttls=True, auth_require_tls=True)
    server = await loop.create_server(lambda: SMTP(store, **options), host="127.0.0.1", port=0,
                                      ssl=context if args.implicit_tls else None)
    port = server.sockets[0].getsockname()[1]
    write_atomically(os.path.join(args.folder, "port"), str(port).encode())
    await server.serve_forever()


def main():
    logging.getLogger("mail.log").setLevel(logging.ERROR)  # aiosmtpd warns about its own login_data
    parser = argparse.ArgumentParser()
    parser.add_argument("--folder", required=True)
    parser.add_argument("--auth", action="store_true")
    parser.add_argument("--mechanisms", default="LOGIN,PLAIN")
    parser.add_argument("--cert")
    parser.add_argument("--key")
    parser.add_argument("--implicit-tls", action="store_true")
    args = parser.parse_args()
    asyncio.run(serve(args))


if __name__ == "__main__":
    main()
