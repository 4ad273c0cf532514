#!/usr/bin/python3
# A loopback SMTP server for the mail tests.
#
#   smtp_peer.py MODE FOLDER [CERTIFICATE_HOST]
# MODE: plain, starttls, ssl (each asking for the login sender@example.com / secret), relay (plain, asking
# for no login), relay7 (a relay that does not offer 8BITMIME), tlsbusy (offers STARTTLS and answers it
# with "454 4.7.0 TLS not available now") or silent (accepts connections, counted in FOLDER/accepted.log, and never says a word). The TLS modes show a certificate for
# CERTIFICATE_HOST (default 127.0.0.1) signed by a test authority made here, written as FOLDER/ca.pem for
# the client to trust. Like many servers, none offers SMTPUTF8.
# Every login tried is written to FOLDER/auth.log; a recipient whose address begins with "refused" gets a
# 550 (one that begins with "busy" a 450 the first time it is tried), a message whose subject begins with
# "refused" a 554 after its data. Every message taken is written
# to FOLDER as message-N.json with its envelope, headers (the To addresses as a reader parses them), body
# and attachments (the attachment bytes beside it as message-N-K.bin), and the size of the message as it came.
# A kept mail's first recipient may slow its answer: "slowaccept..." 2 s late, "drop..." a closed connection,
# "never..." none, "slowquit..." none to QUIT (each a line in FOLDER/held.log), "garbage..." no reply code.
# Prints "PORT n" once listening, then runs until standard input closes.
import asyncio
import json
import logging
import os
import socket
import ssl
import datetime
import ipaddress
import sys
import threading
import warnings
from email import message_from_bytes, policy
from email.header import decode_header, make_header

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword, syntax
from cryptography import x509
from cryptography.hazmat.primitives import hashes, serialization
from cryptography.hazmat.primitives.asymmetric import ec
from cryptography.x509.oid import NameOID

LOGIN = "sender@example.com"
PASSWORD = "secret"


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def pem_of(value):
    if hasattr(value, "public_bytes"):
        return value.public_bytes(serialization.Encoding.PEM)
    return value.private_bytes(serialization.Encoding.PEM, serialization.PrivateFormat.TraditionalOpenSSL,
                               serialization.NoEncryption())


def certificate(subject, issuer, public_key, signing_key, is_authority, host=None):
    now = datetime.datetime.now(datetime.timezone.utc)
    builder = x509.CertificateBuilder().subject_name(subject).issuer_name(issuer).public_key(public_key) \
        .serial_number(x509.random_serial_number()).not_valid_before(now - datetime.timedelta(minutes=5)) \
        .not_valid_after(now + datetime.timedelta(days=1)) \
        .add_extension(x509.BasicConstraints(ca=is_authority, path_length=None), critical=True)
    if host is not None:
        try:
            name = x509.IPAddress(ipaddress.ip_address(host))
        except ValueError:
            name = x509.DNSName(host)
        builder = builder.add_extension(x509.SubjectAlternativeName([name]), critical=False)
    return builder.sign(signing_key, hashes.SHA256())


def authority_signed_context(folder, host):
    def named(text):
        return x509.Name([x509.NameAttribute(NameOID.COMMON_NAME, text)])
    authority_key = ec.generate_private_key(ec.SECP256R1())
    authority = certificate(named("Tessaline test authority"), named("Tessaline test authority"),
                            authority_key.public_key(), authority_key, True)
    server_key = ec.generate_private_key(ec.SECP256R1())
    server = certificate(named(host), authority.subject, server_key.public_key(), authority_key, False, host)
    with open(os.path.join(folder, "ca.pem"), "wb") as handle:
        handle.write(pem_of(authority))
    chain, key = os.path.join(folder, "peer-cert.pem"), os.path.join(folder, "peer-key.pem")
    with open(chain, "wb") as handle:
        handle.write(pem_of(server))
    with open(key, "wb") as handle:
        handle.write(pem_of(server_key))
    context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    context.load_cert_chain(chain, key)
    return context


def make_authenticator(folder):
    def authenticator(server, session, envelope, mechanism, auth_data):
        ok = isinstance(auth_data, LoginPassword) and auth_data.login == LOGIN.encode() \
            and auth_data.password == PASSWORD.encode()
        with open(os.path.join(folder, "auth.log"), "ab") as log:
            if isinstance(auth_data, LoginPassword):
                log.write(b"%s %s %s\n" % (mechanism.encode(), auth_data.login, auth_data.password))
            else:
                log.write(b"%s\n" % mechanism.encode())
        return AuthResult(success=ok, handled=False)
    return authenticator


class Keeper:
    def __init__(self, folder, eight_bit, offers_tls=False):
        self.folder = folder
        self.eight_bit = eight_bit
        self.offers_tls = offers_tls
        self.count = 0
        self.busy = set()
        self.lock = threading.Lock()

    async def hold(self):
        with open(os.path.join(self.folder, "held.log"), "a") as log:
            log.write("held\n")
        await asyncio.Event().wait()

    async def handle_EHLO(self, server, session, envelope, hostname, responses):
        session.host_name = hostname
        kept = [line for line in responses if self.eight_bit or line != "250-8BITMIME"]
        return kept[:-1] + ["250-STARTTLS"] + kept[-1:] if self.offers_tls else kept

    async def handle_QUIT(self, server, session, envelope):
        if getattr(session, "moment", "").startswith("slowquit"):
            await self.hold()
        return "221 Bye"

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address.startswith("refused"):
            return "550 5.1.1 No such mailbox here"
        if address.startswith("busy") and address not in self.busy:
            self.busy.add(address)
            return "450 4.2.1 Mailbox busy, try again later"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        with self.lock:
            self.count += 1
            number = self.count
        parsed = message_from_bytes(envelope.content, policy=policy.default)
        if str(parsed["Subject"]).startswith("refused"):
            return "554 5.6.0 Header refused here"
        attachments = []
        for index, part in enumerate(parsed.iter_attachments()):
            data = part.get_payload(decode=True)
            path = os.path.join(self.folder, "message-%d-%d.bin" % (number, index))
            with open(path, "wb") as handle:
                handle.write(data)
            attachments.append({"filename": part.get_filename(), "type": part.get_content_type(),
                                "path": path, "size": len(data)})
        body = parsed.get_body(preferencelist=("plain",))
        header = envelope.content.split(b"\r\n\r\n", 1)[0].split(b"\r\n")
        raw_to = str(message_from_bytes(envelope.content, policy=policy.compat32)["To"]).replace("\r\n", "")
        record = {
            "mail_options": envelope.mail_options,
            "to_decoded": str(make_header(decode_header(raw_to.replace("\n", "").strip()))),
            "longest_header_line": max(len(line) for line in header),
            "blank_header_line": any(not line.strip() for line in header),
            "body_encoding": str(body["Content-Transfer-Encoding"]) if body is not None else "",
            "seven_bit": all(byte < 128 for byte in envelope.content),
            "mail_from": envelope.mail_from,
            "rcpt_tos": envelope.rcpt_tos,
            "from": str(parsed["From"]),
            "to": str(parsed["To"]),
            "to_addresses": [[a.display_name, a.addr_spec] for a in parsed["To"].addresses],
            "subject": str(parsed["Subject"]),
            "body": body.get_content().replace("\r\n", "\n") if body is not None else "",
            "secure": server.transport.get_extra_info("sslcontext") is not None,
            "authenticated": bool(session.authenticated),
            "attachments": attachments,
            "message_size": len(envelope.original_content),
        }
        temporary = os.path.join(self.folder, "message-%d.tmp" % number)
        with open(temporary, "w") as handle:
            json.dump(record, handle)
        os.replace(temporary, os.path.join(self.folder, "message-%d.json" % number))
        session.moment = envelope.rcpt_tos[0]
        if session.moment.startswith("drop"):
            server.transport.abort()
        elif session.moment.startswith("never"):
            await self.hold()
        elif session.moment.startswith("slowaccept"):
            await asyncio.sleep(2)
        elif session.moment.startswith("garbage"):
            return "Hello there"
        return "250 OK"


def silent_server(port, folder):
    listener = socket.socket()
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", port))
    listener.listen(8)
    held = []

    def accept():
        while True:
            connection, _ = listener.accept()
            held.append(connection)
            with open(os.path.join(folder, "accepted.log"), "ab") as log:
                log.write(b"connection\n")

    threading.Thread(target=accept, daemon=True).start()
    return listener


class BusyTls(SMTP):
    @syntax("STARTTLS")
    async def smtp_STARTTLS(self, arg):
        await self.push("454 4.7.0 TLS not available now")


class BusyTlsController(Controller):
    def factory(self):
        return BusyTls(self.handler, **self.SMTP_kwargs)


def main():
    warnings.simplefilter("ignore")
    logging.getLogger("mail.log").setLevel(logging.CRITICAL)
    mode, folder = sys.argv[1], sys.argv[2]
    host = sys.argv[3] if len(sys.argv) > 3 else "127.0.0.1"
    port = free_port()
    if mode == "silent":
        keep = silent_server(port, folder)
    else:
        options = dict(hostname="127.0.0.1", port=port, authenticator=make_authenticator(folder),
                       auth_required=not mode.startswith("relay"), auth_require_tls=False, enable_SMTPUTF8=False)
        if mode == "starttls":
            options.update(tls_context=authority_signed_context(folder, host), require_starttls=True)
        elif mode == "ssl":
            options.update(ssl_context=authority_signed_context(folder, host))
        kind = BusyTlsController if mode == "tlsbusy" else Controller
        keep = kind(Keeper(folder, mode != "relay7", mode == "tlsbusy"), **options)
        keep.start()
    print("PORT %d" % port, flush=True)
    sys.stdin.read()
    if mode != "silent":
        keep.stop()


if __name__ == "__main__":
    main()
