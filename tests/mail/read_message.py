"""Reads a saved message back with Python's email package, independently of the client.

Prints a JSON object with the decoded From name and address, To, Subject, the text body and,
for each attachment, its file name; writes each attachment's decoded bytes to OUT_PREFIX.N.
"""

import email
import email.policy
import email.utils
import json
import sys


def main():
    path, out_prefix = sys.argv[1], sys.argv[2]
    with open(path, "rb") as f:
        message = email.message_from_binary_file(f, policy=email.policy.default)
    name, address = email.utils.parseaddr(str(message["From"]))
    result = {
        "from_name": name,
        "from_address": address,
        "to": str(message["To"]),
        "subject": str(message["Subject"]),
        "date": str(message["Date"]),
        "content_type": message.get_content_type(),
        "defects": [type(d).__name__ for d in message.defects],
        "body": None,
        "attachments": [],
    }
    for part in message.walk():
        if part.is_multipart():
            continue
        result["defects"] += [type(d).__name__ for d in part.defects]
        if part.get_content_disposition() == "attachment":
            n = len(result["attachments"])
            with open("%s.%d" % (out_prefix, n), "wb") as f:
                f.write(part.get_payload(decode=True))
            result["attachments"].append(part.get_filename())
        else:
            result["body"] = part.get_payload(decode=True).decode("ascii")
    print(json.dumps(result, ensure_ascii=False))


if __name__ == "__main__":
    main()
