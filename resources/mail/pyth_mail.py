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
# Optional numbers "network_seconds" and "end_of_data_seconds" bound the waits for the server (below).
#
# Exit status: 0 once the server has taken the message; otherwise the kind of failure below, with one
# line on standard error saying why. RECIPIENT_REFUSED and MAIL_REFUSED concern this mail alone (an address
# or a message the server will not take); the others would fail any mail. MAYBE_DELIVERED: the whole
# message went, but no reply took or refused it (a lost connection, no answer in time, or one that is no
# reply code): the server may have queued it, so sending it again could deliver it twice.
# On standard output, as they happen: "HELLO", "ENCRYPTING", "LOGGING IN" and "SENDING" as each of these
# begins, so that a caller can say what the server is awaited for; "END OF DATA SENT" just before the
# message's last line goes, and "ACCEPTED" as soon as the server has taken it, so that a caller that ends
# the script after these knows.
import base64
import io
import json
import mimetypes
import os
import re
import smtplib
import ssl
import sys
from email import policy as email_policy
from email.generator import BytesGenerator
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
MAYBE_DELIVERED = 9

# A bare address: nothing the envelope's syntax gives a meaning to (blanks, brackets, quotes, commas).
ADDRESS = re.compile(r'[^\s<>()\[\],;:"\\@]+@[^\s<>()\[\],;:"\\@]+\Z')

# A server that stops answering ends the send instead of hanging it.
NETWORK_TIMEOUT_SECONDS = 20
# The reply to the message's end may take a while: the server may be delivering the mail meanwhile, and
# the mail standard asks a client to wait 10 minutes for it rather than give up and send it twice.
END_OF_DATA_TIMEOUT_SECONDS = 600
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
    if any(ord(c) < 32 or 127 <= ord(c) < 160 or c in "\u2028\u2029"
           for c in request["recipient_name"] + request["subject"]):
        raise Failure(BAD_INPUT, "a header holds a line break or another control character")
    for name, default in (("network_seconds", NETWORK_TIMEOUT_SECONDS),
                          ("end_of_data_seconds", END_OF_DATA_TIMEOUT_SECONDS)):
        value = request.get(name, default)
        if isinstance(value, bool) or not isinstance(value, (int, float)) or not 0 < value <= 3600:
            raise Failure(BAD_INPUT, "\"%s\" is not a number of seconds from 0 to 3600" % name)
        request[name] = value
    return request


# A word a name may carry as it is; anything else in a name (other letters, an "=?" that a reader would
# take for an encoded-word, the format's special characters) is encoded.
PLAIN_WORD = re.compile(r"[A-Za-z0-9!#$%&'*+\-/^_`{|}~]{1,75}\Z")
# A subject's words may hold any visible character but "=?".
PLAIN_TEXT_WORD = re.compile(r"(?!.*=\?)[!-~]{1,75}\Z")
# Header lines stay within the 76 characters a line with encoded-words may have, so that no mail library
# folds them again (and decodes the words on the way), and no line is ever empty.
MAX_HEADER_LINE = 76
# Bytes of text in one encoded-word: 72 characters with its frame after "To: ", 64 after "Subject: ".
NAME_BYTES, SUBJECT_BYTES = 45, 39


def encoded_words(text, size):
    # Base64 UTF-8 words of whole characters, each fitting on a header line. Readers join adjacent words
    # without the blank between them, so a word ends after a blank of the text where one is near (some
    # readers keep the blank between words of a name, and this leaves them the fewest to keep).
    # Whatever the text looks like (an address, an encoded-word of its own), a reader shows it as it is.
    words, chunk = [], ""
    for character in text:
        if chunk and len((chunk + character).encode("utf-8")) > size:
            cut = chunk.rfind(" ") + 1 or len(chunk)
            words.append(chunk[:cut])
            chunk = chunk[cut:]
        chunk += character
    words.append(chunk)
    return ["=?utf-8?b?%s?=" % base64.b64encode(word.encode("utf-8")).decode("ascii") for word in words]


def subject_tokens(text):
    # Plain words when the subject is nothing else (single blanks between them); otherwise the subject
    # whole as encoded-words, which a reader joins back exactly, blanks and all.
    words = text.split(" ")
    if text and all(PLAIN_TEXT_WORD.match(word) for word in words):
        return words
    return encoded_words(text, SUBJECT_BYTES) if text else []


def name_tokens(name):
    # Plain words stay as they are; a run of words that are not goes as encoded-words, the blanks between
    # them inside.
    tokens, pending = [], []
    # Split at plain blanks only: a no-break space holds two words together and stays inside its word.
    for word in [word for word in name.split(" ") if word]:
        if PLAIN_WORD.match(word) and "=?" not in word:
            if pending:
                tokens.extend(encoded_words(" ".join(pending), NAME_BYTES))
                pending = []
            tokens.append(word)
        else:
            pending.append(word)
    if pending:
        tokens.extend(encoded_words(" ".join(pending), NAME_BYTES))
    return tokens


def folded(name, tokens):
    # The header's value: its tokens on lines of at most MAX_HEADER_LINE characters with the name, each
    # line holding at least one token (a token too long to follow the name starts the second line).
    # Stored as written: the mail library's own folding would decode the words again and let an
    # encoded-word typed as a name be read as an address.
    lines = [name + ":"]
    for token in tokens:
        if len(lines[-1]) + 1 + len(token) > MAX_HEADER_LINE:
            lines.append("")
        lines[-1] += " " + token
    value = "\n".join(lines)[len(name) + 1:]
    return value[1:] if value.startswith(" ") else value


def recipient_header(name, address):
    return folded("To", name_tokens(name) + ["<%s>" % address]) if name else address


def build_message(request, eight_bit):
    # Without 8-bit transport (a server that does not offer 8BITMIME) the text goes quoted-printable or
    # base64, whichever is shorter. Headers written here are never folded again.
    message = EmailMessage(policy=email_policy.default.clone(refold_source="none",
                                                             cte_type="8bit" if eight_bit else "7bit"))
    message["From"] = request["sender"].strip()
    message.set_raw("To", recipient_header(request["recipient_name"].strip(), request["recipient"].strip()))
    message.set_raw("Subject", folded("Subject", subject_tokens(request["subject"])))
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


def connect(server, port, use_ssl, password, timeout):
    context = ssl.create_default_context()
    if use_ssl:
        connection = smtplib.SMTP_SSL(server, port, timeout=timeout, context=context)
        say("HELLO")
        connection.ehlo()
        return connection
    connection = smtplib.SMTP(server, port, timeout=timeout)
    say("HELLO")
    connection.ehlo()
    if not connection.has_extn("starttls") and not password:
        return connection
    if not connection.has_extn("starttls"):
        connection.close()
        raise Failure(NO_ENCRYPTION, "The server %s offers no encryption (STARTTLS): nothing was sent, and the "
                                     "password was not given to it." % server)
    say("ENCRYPTING")
    connection.starttls(context=context)
    say("HELLO")
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


def reply_failure(status, code, reply):
    # 421: the server is closing the connection, which would fail any mail.
    return Failure(FAILED if code == 421 else status, "%d %s" % (code, reply.decode("utf-8", "replace")))


def say(line):
    sys.stdout.write(line + "\n")
    sys.stdout.flush()


def transmit(connection, sender, recipient, message, end_of_data_seconds):
    # One mail transaction, told step by step, so that the end of the message is known: from then on the
    # server may have the mail, whatever happens to the connection.
    international = not (sender + recipient).isascii()
    if international and not connection.has_extn("smtputf8"):
        # An address in UTF-8 (a local part, or an international domain) needs SMTPUTF8.
        if not sender.isascii():
            raise Failure(SENDER_REFUSED, "the server offers no SMTPUTF8, which the sender address needs")
        raise Failure(RECIPIENT_REFUSED, "the server offers no SMTPUTF8, which this address needs")
    say("SENDING")
    options = ["SMTPUTF8", "BODY=8BITMIME"] if international else []
    if not international and connection.has_extn("8bitmime"):
        options.append("BODY=8BITMIME")
    with io.BytesIO() as flat:
        generator_policy = message.policy.clone(utf8=True) if international else None
        # The body goes as typed: a line that begins with "From " is no mailbox separator on the way.
        BytesGenerator(flat, mangle_from_=False, policy=generator_policy).flatten(message, linesep="\r\n")
        data = flat.getvalue()
    code, reply = connection.mail(sender, options)
    if code != 250:
        raise reply_failure(SENDER_REFUSED, code, reply)
    code, reply = connection.rcpt(recipient)
    if code not in (250, 251):
        raise reply_failure(RECIPIENT_REFUSED, code, reply)
    code, reply = connection.docmd("DATA")
    if code != 354:
        raise reply_failure(MAIL_REFUSED, code, reply)
    data = re.sub(rb"(?m)^\.", b"..", data)
    if not data.endswith(b"\r\n"):
        data += b"\r\n"
    connection.send(data)
    say("END OF DATA SENT")
    connection.sock.settimeout(end_of_data_seconds)
    try:
        connection.send(b".\r\n")
        code, reply = connection.getreply()
    except (smtplib.SMTPServerDisconnected, OSError) as error:
        raise Failure(MAYBE_DELIVERED, "the whole mail went, but the server's answer never came (%s): it may "
                                       "have been delivered" % (error or type(error).__name__))
    except smtplib.SMTPResponseException:  # an answer too long to be one
        code, reply = -1, b""
    # Only a reply that clearly refuses the message says that the server did not keep it; anything else
    # (a reply that is not a reply code, another kind of reply) leaves the mail perhaps delivered.
    if 400 <= code < 600:
        raise reply_failure(MAIL_REFUSED, code, reply)
    if code != 250:
        raise Failure(MAYBE_DELIVERED, "the whole mail went, but the server's answer was neither taking nor "
                                       "refusing it: it may have been delivered")
    say("ACCEPTED")


def send(request):
    try:
        port = int(request["port"].strip())
    except ValueError:
        raise Failure(BAD_INPUT, "the port \"%s\" is not a number" % request["port"])
    if not 1 <= port <= 65535:
        raise Failure(BAD_INPUT, "the port %d is not from 1 to 65535" % port)
    recipient = request["recipient"].strip()
    sender = request["sender"].strip()
    message = build_message(request, True)  # a file that cannot be read ends the send before any connection
    connection = connect(request["server"].strip(), port, request["ssl"] == "Y", request["password"],
                         request["network_seconds"])
    encrypted = isinstance(connection.sock, ssl.SSLSocket)
    accepted = False
    try:
        connection.ehlo_or_helo_if_needed()
        if request["password"] and connection.has_extn("auth"):
            say("LOGGING IN")
            login(connection, request["login"].strip(), request["password"])
        if not connection.has_extn("8bitmime"):
            message = build_message(request, False)
        transmit(connection, sender, recipient, message, request["end_of_data_seconds"])
        accepted = True
        if not encrypted:
            sys.stderr.write("sent without encryption\n")
    finally:
        try:
            if accepted:
                connection.sock.settimeout(request["network_seconds"])
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
    except smtplib.SMTPResponseException as error:
        # The server's own words, as it answered ("454 4.7.0 TLS not available now").
        reply = error.smtp_error if isinstance(error.smtp_error, bytes) else str(error.smtp_error).encode("utf-8")
        failure = reply_failure(FAILED, error.smtp_code, reply)
        sys.stderr.write("%s\n" % failure)
        return failure.status
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
