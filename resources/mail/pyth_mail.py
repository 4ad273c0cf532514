#!/usr/bin/python3
# Tessaline Card's mail sender: hands one message to an SMTP server.
#
# Everything comes on standard input, never in the argument list (which every local user can read): one
# UTF-8 JSON object with "sender", "login", "server", "port", "recipient" (the bare address),
# "recipient_name" (its display name, text; may be empty), "subject", "body", "ssl" ("Y":
# SSL from the first byte; anything else: STARTTLS, required), "attachments" (paths) and "password".
# The certificate chain and host name are verified against the system's trust store (SSL_CERT_FILE and
# SSL_CERT_DIR name another, as OpenSSL reads them). A password is only ever sent encrypted: a server that
# offers no encryption (a local relay) is used only when no password is set, and the last line on standard
# error then says "sent without encryption".
#
# Exit status: 0 once the server has taken the message; otherwise the kind of failure below, with one
# line on standard error saying why. RECIPIENT_REFUSED and MAIL_REFUSED concern this mail alone (an address
# or a message the server will not take); the others would fail any mail.
import base64
import json
import mimetypes
import os
import re
import smtplib
import ssl
import sys
from email.message import EmailMessage
from email.utils import formatdate, make_msgid

FAILED = 1
BAD_INPUT = 2
LOGIN_REFUSED = 3
NO_ENCRYPTION = 4
CERTIFICATE = 5
RECIPIENT_REFUSED = 6
SENDER_REFUSED = 7
MAIL_REFUSED = 8

# A bare address: nothing the envelope's syntax gives a meaning to (blanks, brackets, quotes, commas).
ADDRESS = re.compile(r'[^\s<>()\[\],;:"\\@]+@[^\s<>()\[\],;:"\\@]+\Z')

# A server that stops answering ends the send instead of hanging it.
NETWORK_TIMEOUT_SECONDS = 20
MAX_INPUT_BYTES = 8 * 1024 * 1024


class Failure(Exception):
    def __init__(self, status, text):
        Exception.__init__(self, text)
        self.status = status


def read_request():
    data = sys.stdin.buffer.read(MAX_INPUT_BYTES + 1)
    if len(data) > MAX_INPUT_BYTES:
        raise Failure(BAD_INPUT, "the mail is larger than %d bytes" % MAX_INPUT_BYTES)
    try:
        request = json.loads(data.decode("utf-8"))
    except (UnicodeError, ValueError) as error:
        raise Failure(BAD_INPUT, "the mail's fields cannot be read: %s" % error)
    fields = ("sender", "login", "server", "port", "recipient", "recipient_name", "subject", "body", "ssl",
              "password")
    if not isinstance(request, dict) or any(not isinstance(request.get(name), str) for name in fields) \
            or not isinstance(request.get("attachments"), list):
        raise Failure(BAD_INPUT, "the mail's fields are incomplete")
    for name in ("sender", "recipient"):
        if not ADDRESS.match(request[name].strip()):
            raise Failure(BAD_INPUT, "\"%s\" is not one e-mail address" % request[name])
    if any(ord(c) < 32 or ord(c) == 127 for c in request["recipient_name"] + request["subject"]):
        raise Failure(BAD_INPUT, "a header holds a line break or another control character")
    return request


# A word a header may carry as it is; anything else in a name (other letters, an "=?" that a reader would
# take for an encoded-word, the format's special characters) is encoded.
PLAIN_WORD = re.compile(r"[A-Za-z0-9!#$%&'*+\-/^_`{|}~]+\Z")


def encoded_words(text):
    # Base64 UTF-8 words, so that whatever the text looks like (an address, an encoded-word of its own) a
    # reader shows it as the text it is. Whole characters per word, each word under 76 bytes.
    words, chunk = [], b""
    for character in text:
        data = character.encode("utf-8")
        if len(chunk) + len(data) > 45:
            words.append(chunk)
            chunk = b""
        chunk += data
    words.append(chunk)
    return ["=?utf-8?b?%s?=" % base64.b64encode(word).decode("ascii") for word in words]


def recipient_header(name, address):
    # Plain words stay as they are; a run of words that are not goes as encoded-words, the blanks between
    # them inside. Stored as written: the mail library's own folding would decode the words again and let
    # an encoded-word typed as a name be read as an address.
    tokens, pending = [], []
    for word in name.split():
        if PLAIN_WORD.match(word):
            if pending:
                tokens.extend(encoded_words(" ".join(pending)))
                pending = []
            tokens.append(word)
        else:
            pending.append(word)
    if pending:
        tokens.extend(encoded_words(" ".join(pending)))
    if not tokens:
        return address
    lines = [""]
    for token in tokens + ["<%s>" % address]:
        if lines[-1] and len(lines[-1]) + len(token) > 72:
            lines.append("")
        lines[-1] += (" " if lines[-1] else "") + token
    return "\n ".join(lines)


def build_message(request):
    message = EmailMessage()
    message["From"] = request["sender"].strip()
    message.set_raw("To", recipient_header(request["recipient_name"].strip(), request["recipient"].strip()))
    message["Subject"] = request["subject"]
    message["Date"] = formatdate(localtime=True)
    message["Message-ID"] = make_msgid()
    message.set_content(request["body"])
    for path in request["attachments"]:
        kind, encoding = mimetypes.guess_type(path)
        if kind is None or encoding is not None:
            kind = "application/octet-stream"
        maintype, subtype = kind.split("/", 1)
        with open(path, "rb") as handle:
            data = handle.read()
        message.add_attachment(data, maintype=maintype, subtype=subtype, filename=os.path.basename(path))
    return message


def connect(server, port, use_ssl, password):
    context = ssl.create_default_context()
    if use_ssl:
        return smtplib.SMTP_SSL(server, port, timeout=NETWORK_TIMEOUT_SECONDS, context=context)
    connection = smtplib.SMTP(server, port, timeout=NETWORK_TIMEOUT_SECONDS)
    connection.ehlo()
    if not connection.has_extn("starttls") and not password:
        return connection
    if not connection.has_extn("starttls"):
        connection.close()
        raise Failure(NO_ENCRYPTION, "The server %s offers no encryption (STARTTLS): nothing was sent, and the "
                                     "password was not given to it." % server)
    connection.starttls(context=context)
    connection.ehlo()
    return connection


def login(connection, user, password):
    # smtplib's own login encodes as ASCII only and tries one mechanism after another; the password is sent
    # as UTF-8 once, and a refusal ends the send at once.
    mechanisms = connection.esmtp_features.get("auth", "").upper().split()
    user_bytes, password_bytes = user.encode("utf-8"), password.encode("utf-8")
    if "PLAIN" in mechanisms:
        token = base64.b64encode(b"\0" + user_bytes + b"\0" + password_bytes).decode("ascii")
        code, reply = connection.docmd("AUTH", "PLAIN " + token)
    elif "LOGIN" in mechanisms:
        code, reply = connection.docmd("AUTH", "LOGIN " + base64.b64encode(user_bytes).decode("ascii"))
        if code == 334:
            code, reply = connection.docmd(base64.b64encode(password_bytes).decode("ascii"))
    else:
        raise Failure(LOGIN_REFUSED, "the server offers no way of logging in that this program knows")
    if code != 235:
        raise Failure(LOGIN_REFUSED, "%d %s" % (code, reply.decode("utf-8", "replace")))


def send(request):
    try:
        port = int(request["port"].strip())
    except ValueError:
        raise Failure(BAD_INPUT, "the port \"%s\" is not a number" % request["port"])
    if not 1 <= port <= 65535:
        raise Failure(BAD_INPUT, "the port %d is not from 1 to 65535" % port)
    recipient = request["recipient"].strip()
    sender = request["sender"].strip()
    message = build_message(request)
    connection = connect(request["server"].strip(), port, request["ssl"] == "Y", request["password"])
    encrypted = isinstance(connection.sock, ssl.SSLSocket)
    try:
        connection.ehlo_or_helo_if_needed()
        if request["password"] and connection.has_extn("auth"):
            login(connection, request["login"].strip(), request["password"])
        try:
            connection.send_message(message, from_addr=sender, to_addrs=[recipient])
        except smtplib.SMTPRecipientsRefused as error:
            code, reply = error.recipients.get(recipient, (0, b""))
            raise Failure(RECIPIENT_REFUSED, "%d %s" % (code, reply.decode("utf-8", "replace")))
        except smtplib.SMTPSenderRefused as error:
            raise Failure(SENDER_REFUSED, "%d %s" % (error.smtp_code, error.smtp_error.decode("utf-8", "replace")))
        except smtplib.SMTPNotSupportedError:
            # An address in UTF-8 (a local part, or an international domain) needs SMTPUTF8.
            if not sender.isascii():
                raise Failure(SENDER_REFUSED, "the server offers no SMTPUTF8, which the sender address needs")
            raise Failure(RECIPIENT_REFUSED, "the server offers no SMTPUTF8, which this address needs")
        except smtplib.SMTPDataError as error:
            status = FAILED if error.smtp_code == 421 else MAIL_REFUSED
            raise Failure(status, "%d %s" % (error.smtp_code, error.smtp_error.decode("utf-8", "replace")))
        if not encrypted:
            sys.stderr.write("sent without encryption\n")
    finally:
        try:
            connection.quit()
        except (smtplib.SMTPException, OSError):
            connection.close()


def main():
    try:
        send(read_request())
    except Failure as failure:
        sys.stderr.write("%s\n" % failure)
        return failure.status
    except ssl.SSLCertVerificationError as error:
        sys.stderr.write("%s\n" % (error.verify_message or error))
        return CERTIFICATE
    except smtplib.SMTPAuthenticationError as error:
        sys.stderr.write("%s\n" % error)
        return LOGIN_REFUSED
    except (smtplib.SMTPException, ValueError, UnicodeError) as error:
        sys.stderr.write("%s\n" % (error or type(error).__name__))
        return FAILED
    except OSError as error:
        # The system's own words ("Connection refused", "timed out"), without the error number.
        sys.stderr.write("%s\n" % (error.strerror or error or type(error).__name__))
        return FAILED
    return 0


if __name__ == "__main__":
    sys.exit(main())
