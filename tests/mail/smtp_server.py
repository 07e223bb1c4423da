"""A real SMTP server (aiosmtpd) on a free loopback port, for the mail tests.

Once it listens it prints its port on a line of its own. Every message it accepts is saved in
FOLDER as NNNN.eml (the data as received, dot-stuffing undone) and NNNN.json (the envelope,
the login used, its mechanism, whether the connection was encrypted and its number). With
--login USER:PASSWORD the server offers AUTH LOGIN (and PLAIN with --plain), requires it, and
accepts only that user, the password compared as bytes in --password-encoding; without it, no
AUTH is offered. With --cert CERT --key KEY it offers STARTTLS (--tls starttls, required
before any mail) or speaks TLS from the first byte (--tls implicit). It stops when its
standard input closes. Each --refuse ADDRESS is refused at RCPT TO.
"""

import argparse
import asyncio
import json
import logging
import os
import ssl
import sys
import warnings

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword


class Saver:
    def __init__(self, folder, refused):
        self.folder = folder
        self.count = 0
        self.refused = refused

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address in self.refused:
            return "550 5.1.1 <%s>: mailbox unavailable" % address
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        base = os.path.join(self.folder, "%04d" % self.count)
        with open(base + ".eml", "wb") as f:
            f.write(envelope.original_content)
        auth = session.auth_data
        meta = {
            "mail_from": envelope.mail_from,
            "rcpt_tos": envelope.rcpt_tos,
            "login": auth.login.decode("latin-1") if isinstance(auth, LoginPassword) else None,
            "mechanism": getattr(session, "mechanism", None),
            "encrypted": server.transport.get_extra_info("ssl_object") is not None,
            "connection": server.connection_number,
        }
        with open(base + ".json", "w", encoding="utf-8") as f:
            json.dump(meta, f)
        return "250 2.0.0 Ok: saved"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("folder")
    parser.add_argument("--login", help="USER:PASSWORD to require with AUTH LOGIN")
    parser.add_argument("--plain", action="store_true", help="offer AUTH PLAIN as well")
    parser.add_argument("--password-encoding", default="latin-1")
    parser.add_argument("--cert")
    parser.add_argument("--key")
    parser.add_argument("--tls", choices=["starttls", "implicit"])
    parser.add_argument("--refuse", action="append", default=[],
                        help="an address whose RCPT TO gets 550")
    args = parser.parse_args()
    # AUTH without TLS is what the client under test speaks; the server's advice is noise here.
    warnings.simplefilter("ignore")
    logging.getLogger("mail.log").setLevel(logging.ERROR)

    handler = Saver(args.folder, set(args.refuse))
    connections = 0
    options = {}
    if args.login:
        user, password = args.login.split(":", 1)

        mechanisms = ("LOGIN", "PLAIN") if args.plain else ("LOGIN",)

        def authenticator(server, session, envelope, mechanism, auth_data):
            ok = (mechanism in mechanisms and auth_data.login == user.encode("latin-1")
                  and auth_data.password == password.encode(args.password_encoding))
            if ok:
                session.mechanism = mechanism
            return AuthResult(success=ok, handled=False, auth_data=auth_data if ok else None)

        excluded = [] if args.plain else ["PLAIN"]
        options = dict(authenticator=authenticator, auth_required=True, auth_require_tls=False,
                       auth_exclude_mechanism=excluded)
    context = None
    if args.cert:
        context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
        context.load_cert_chain(args.cert, args.key)
    if args.tls == "starttls":
        options.update(tls_context=context, require_starttls=True)

    def factory():
        nonlocal connections
        connections += 1
        smtp = SMTP(handler, hostname="test.example", data_size_limit=None, **options)
        smtp.connection_number = connections
        return smtp

    loop = asyncio.new_event_loop()
    asyncio.set_event_loop(loop)
    implicit = context if args.tls == "implicit" else None
    server = loop.run_until_complete(loop.create_server(factory, "127.0.0.1", 0, ssl=implicit))
    print(server.sockets[0].getsockname()[1], flush=True)

    def stdin_closed():
        if not sys.stdin.buffer.read1(4096):
            loop.stop()

    loop.add_reader(sys.stdin.fileno(), stdin_closed)
    loop.run_forever()
    server.close()


if __name__ == "__main__":
    main()
