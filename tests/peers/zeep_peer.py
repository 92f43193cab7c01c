"""zeep, the SOAP client driven from the WSDL: one service proxy per run, nothing fetched from
the network (the SOAP encoding schema is read from disk), the raw messages of each call kept.
Against our server zeep reads strictly, so an answer that breaks the WSDL's schemas raises."""

import zeep
import zeep.helpers
import zeep.transports

import peer_values


class LocalTransport(zeep.transports.Transport):
    def __init__(self, known, **kwargs):
        super().__init__(**kwargs)
        self.known = known
        self.last_request = self.last_response = None
        self.last_headers = {}
        self.last_status = None
        self.posted = False

    def load(self, url):
        for prefix, path in self.known.items():
            if url.rstrip("/") == prefix.rstrip("/"):
                with open(path, "rb") as f:
                    return f.read()
        if "://" in url and not url.startswith("file://"):
            raise IOError("not fetched: %s" % url)
        return super().load(url)

    def post(self, address, message, headers):
        # anyType content goes where zeep wrote its token, as the text it is (a tree moved into
        # zeep's would have its prefixes rewritten, and those inside xsi:type values lost)
        for token, markup in peer_values.Markup.pending.items():
            message = message.replace(token.encode(), markup.encode("utf-8"))
        self.posted = True
        self.last_request = message
        response = super().post(address, message, headers)
        self.last_response = response.content
        self.last_headers = dict(response.headers)
        self.last_status = response.status_code
        return response


class ZeepPeer:
    """Raises from the constructor when zeep cannot read the WSDL."""

    def __init__(self, wsdl, binding, port, soap_encoding_schema, strict=True):
        self.transport = LocalTransport({"http://schemas.xmlsoap.org/soap/encoding/": soap_encoding_schema},
                                        timeout=10, operation_timeout=10)
        # One connection per call, as the servers close theirs after answering: a kept-alive
        # connection that the server has just closed would lose the next call.
        self.transport.session.headers["Connection"] = "close"
        self.client = zeep.Client(wsdl, transport=self.transport, settings=zeep.Settings(strict=strict))
        self.service = self.client.create_service("{%s}%s" % binding, "http://127.0.0.1:%d/peer" % port)

    def call(self, op, sample):
        """(result values or None, exception or None); the transport keeps what went over the wire."""
        self.transport.posted = False
        self.transport.last_request = self.transport.last_response = None
        self.transport.last_headers = {}
        args, kwargs = peer_values.zeep_arguments(op, sample)
        try:
            result = getattr(self.service, op.name)(*args, **kwargs)
        except Exception as e:  # every failure of the peer is a finding, not a harness error
            return None, e
        finally:
            self.transport.session.close()
        return peer_values.flatten(zeep.helpers.serialize_object(result, dict)), None
