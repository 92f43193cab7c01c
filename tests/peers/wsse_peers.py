"""zeep's WS-Security against the generated server (wsse_server.c): each row calls Add with one of
zeep's ways of securing a request and prints what came back. Its UsernameToken, as text and as
digest, with and without a Timestamp; its Signature and BinarySignature (python3-xmlsec) with
RSA-SHA1 and RSA-SHA256, with a Timestamp signed too, which also verifies the server's signed
answer; and the requests the server must refuse.
    wsse_peers.py user|sign ENDPOINT KEY_FOLDER"""
import datetime
import os
import sys

import xmlsec
import requests
import zeep
from lxml import etree
from zeep.wsse import utils
from zeep.wsse.compose import Compose
from zeep.wsse.signature import BinarySignature, Signature
from zeep.wsse.username import UsernameToken


def timestamp_token():
    """A wsu:Timestamp of five minutes."""
    now = datetime.datetime.utcnow().replace(microsecond=0)
    return utils.WSU.Timestamp(utils.WSU.Created(now.isoformat() + "Z"),
                               utils.WSU.Expires((now + datetime.timedelta(minutes=5)).isoformat() + "Z"))


class Timestamp:
    """Puts a Timestamp in the Security header, for the signature after it to cover."""

    def apply(self, envelope, headers):
        utils.get_security_header(envelope).append(timestamp_token())
        return envelope, headers

    def verify(self, envelope):
        return envelope


def call(label, endpoint, wsse):
    client = zeep.Client(endpoint + "?wsdl", wsse=wsse)
    service = client.create_service("{urn:kelvane:calculator}CalculatorSoap", endpoint)
    try:
        print("%s: %s" % (label, service.Add(a=2, b=3)))
    except zeep.exceptions.Fault as fault:
        print("%s: fault %s" % (label, fault.code))
    except Exception as error:  # noqa: BLE001 - the row says what failed
        print("%s: %s" % (label, type(error).__name__))


def post(label, endpoint, wsse):
    """The request zeep secures, posted as it is: the fault code of the answer. zeep's own call would
    verify the answer with the caller's certificate, which signed no answer here."""
    client = zeep.Client(endpoint + "?wsdl", wsse=wsse)
    service = client.create_service("{urn:kelvane:calculator}CalculatorSoap", endpoint)
    envelope = client.create_message(service, "Add", a=2, b=3)
    answer = requests.post(endpoint, data=etree.tostring(envelope), headers={"Content-Type": "text/xml"}, timeout=30)
    code = etree.fromstring(answer.content).findtext(".//faultcode")
    print("%s: %d fault %s" % (label, answer.status_code, code))


def user_rows(endpoint):
    call("UsernameToken text", endpoint, UsernameToken("alice", "secret"))
    call("UsernameToken text, Timestamp", endpoint, UsernameToken("alice", "secret", timestamp_token=timestamp_token()))
    call("UsernameToken digest", endpoint, UsernameToken("alice", "secret", use_digest=True))
    call("UsernameToken digest, Timestamp", endpoint,
         UsernameToken("alice", "secret", use_digest=True, timestamp_token=timestamp_token()))
    call("UsernameToken digest, zulu", endpoint, UsernameToken("alice", "secret", use_digest=True, zulu_timestamp=True))
    call("UsernameToken wrong password", endpoint, UsernameToken("alice", "guess", use_digest=True))
    call("UsernameToken unknown user", endpoint, UsernameToken("mallory", "secret"))
    call("UsernameToken replayed nonce", endpoint, UsernameToken("alice", "secret", use_digest=True, nonce="same-nonce"))
    call("UsernameToken replayed nonce again", endpoint, UsernameToken("alice", "secret", use_digest=True, nonce="same-nonce"))


def sign_rows(endpoint, keys):
    key, cert = os.path.join(keys, "peer.key"), os.path.join(keys, "peer.pem")
    stranger_key, stranger_cert = os.path.join(keys, "stranger.key"), os.path.join(keys, "stranger.pem")
    sha256 = {"signature_method": xmlsec.Transform.RSA_SHA256, "digest_method": xmlsec.Transform.SHA256}
    call("Signature", endpoint, Signature(key, cert))
    call("Signature SHA-256", endpoint, Signature(key, cert, **sha256))
    call("BinarySignature", endpoint, BinarySignature(key, cert))
    call("BinarySignature SHA-256, Timestamp", endpoint, Compose([Timestamp(), BinarySignature(key, cert, **sha256)]))
    call("Signature, Timestamp", endpoint, Compose([Timestamp(), Signature(key, cert)]))
    post("Signature by a stranger", endpoint, Signature(stranger_key, stranger_cert))
    post("no Signature", endpoint, None)


if __name__ == "__main__":
    mode, address, folder = sys.argv[1:4]
    if mode == "user":
        user_rows(address)
    else:
        sign_rows(address, folder)
