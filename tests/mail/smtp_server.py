"""A real SMTP server (aiosmtpd) on a free loopback port, for the mail tests.

Once it listens it prints its port on a line of its own. Every message it accepts is saved in
FOLDER as NNNN.eml (the data as received, dot-stuffing undone) and NNNN.json (the envelope,
the login used and the number of the connection it came on). With --login USER:PASSWORD the
server offers AUTH LOGIN on the plain connection, requires it, and accepts only that user;
without it, no AUTH is offered. It stops when its standard input closes.
"""

import argparse
import asyncio
import json
import logging
import os
import sys
import warnings

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword


class Saver:
    def __init__(self, folder):
        self.folder = folder
        self.count = 0

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
            "connection": server.connection_number,
        }
        with open(base + ".json", "w", encoding="utf-8") as f:
            json.dump(meta, f)
        return "250 2.0.0 Ok: saved"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("folder")
    parser.add_argument("--login", help="USER:PASSWORD to require with AUTH LOGIN")
    args = parser.parse_args()
    # AUTH without TLS is what the client under test speaks; the server's advice is noise here.
    warnings.simplefilter("ignore")
    logging.getLogger("mail.log").setLevel(logging.ERROR)

    handler = Saver(args.folder)
    connections = 0
    options = {}
    if args.login:
        user, password = args.login.split(":", 1)

        def authenticator(server, session, envelope, mechanism, auth_data):
            ok = (mechanism == "LOGIN" and auth_data.login == user.encode("latin-1")
                  and auth_data.password == password.encode("latin-1"))
            return AuthResult(success=ok, handled=False, auth_data=auth_data if ok else None)

        options = dict(authenticator=authenticator, auth_required=True, auth_require_tls=False)

    def factory():
        nonlocal connections
        connections += 1
        smtp = SMTP(handler, hostname="test.example", data_size_limit=None, **options)
        smtp.connection_number = connections
        return smtp

    loop = asyncio.new_event_loop()
    asyncio.set_event_loop(loop)
    server = loop.run_until_complete(loop.create_server(factory, "127.0.0.1", 0))
    print(server.sockets[0].getsockname()[1], flush=True)

    def stdin_closed():
        if not sys.stdin.buffer.read1(4096):
            loop.stop()

    loop.add_reader(sys.stdin.fileno(), stdin_closed)
    loop.run_forever()
    server.close()


if __name__ == "__main__":
    main()
