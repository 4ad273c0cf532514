#!/usr/bin/python3
# A loopback SMTP server for the mail tests.
#
#   smtp_peer.py MODE FOLDER
# MODE: plain, starttls, ssl (each asking for the login sender@example.com / secret) or silent (accepts
# connections and never says a word). Every message taken is written to FOLDER as message-N.json with its
# envelope, headers, body and attachments (the attachment bytes beside it as message-N-K.bin).
# Prints "PORT n" once listening, then runs until standard input closes.
import json
import os
import socket
import ssl
import subprocess
import sys
import threading
import warnings
from email import message_from_bytes, policy

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult, LoginPassword

LOGIN = "sender@example.com"
PASSWORD = "secret"


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def self_signed_context(folder):
    key = os.path.join(folder, "peer-key.pem")
    cert = os.path.join(folder, "peer-cert.pem")
    subprocess.run(["/usr/bin/openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "1",
                    "-subj", "/CN=localhost", "-keyout", key, "-out", cert],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    context.load_cert_chain(cert, key)
    return context


def authenticator(server, session, envelope, mechanism, auth_data):
    ok = isinstance(auth_data, LoginPassword) and auth_data.login == LOGIN.encode() \
        and auth_data.password == PASSWORD.encode()
    return AuthResult(success=ok, handled=False)


class Keeper:
    def __init__(self, folder):
        self.folder = folder
        self.count = 0
        self.lock = threading.Lock()

    async def handle_DATA(self, server, session, envelope):
        with self.lock:
            self.count += 1
            number = self.count
        parsed = message_from_bytes(envelope.content, policy=policy.default)
        attachments = []
        for index, part in enumerate(parsed.iter_attachments()):
            data = part.get_payload(decode=True)
            path = os.path.join(self.folder, "message-%d-%d.bin" % (number, index))
            with open(path, "wb") as handle:
                handle.write(data)
            attachments.append({"filename": part.get_filename(), "type": part.get_content_type(),
                                "path": path, "size": len(data)})
        body = parsed.get_body(preferencelist=("plain",))
        record = {
            "mail_from": envelope.mail_from,
            "rcpt_tos": envelope.rcpt_tos,
            "from": str(parsed["From"]),
            "to": str(parsed["To"]),
            "subject": str(parsed["Subject"]),
            "body": body.get_content().replace("\r\n", "\n") if body is not None else "",
            "secure": server.transport.get_extra_info("sslcontext") is not None,
            "authenticated": bool(session.authenticated),
            "attachments": attachments,
        }
        temporary = os.path.join(self.folder, "message-%d.tmp" % number)
        with open(temporary, "w") as handle:
            json.dump(record, handle)
        os.replace(temporary, os.path.join(self.folder, "message-%d.json" % number))
        return "250 OK"


def silent_server(port):
    listener = socket.socket()
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", port))
    listener.listen(8)
    held = []

    def accept():
        while True:
            connection, _ = listener.accept()
            held.append(connection)

    threading.Thread(target=accept, daemon=True).start()
    return listener


def main():
    warnings.simplefilter("ignore")
    mode, folder = sys.argv[1], sys.argv[2]
    port = free_port()
    if mode == "silent":
        keep = silent_server(port)
    else:
        options = dict(hostname="127.0.0.1", port=port, authenticator=authenticator, auth_required=True,
                       auth_require_tls=False)
        if mode == "starttls":
            options.update(tls_context=self_signed_context(folder), require_starttls=True)
        elif mode == "ssl":
            options.update(ssl_context=self_signed_context(folder))
        keep = Controller(Keeper(folder), **options)
        keep.start()
    print("PORT %d" % port, flush=True)
    sys.stdin.read()
    if mode != "silent":
        keep.stop()


if __name__ == "__main__":
    main()
