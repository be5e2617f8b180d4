"""A silent speech server for Orca (settings.speechServerFactory, found on PYTHONPATH): it
appends each utterance, one per line, to the file named by $ORCA_SPEECH_LOG."""
import os

from orca import speechserver


class SpeechServer(speechserver.SpeechServer):
    @staticmethod
    def getSpeechServer(info=None):
        return SpeechServer()

    def getInfo(self):
        return ["Speech log", "log"]

    def _log(self, text):
        if line := " ".join(str(text or "").split()):
            with open(os.environ["ORCA_SPEECH_LOG"], "a", encoding="utf-8") as log:
                log.write(line + "\n")

    def speak(self, text=None, acss=None, interrupt=True):
        self._log(text)

    def speakCharacter(self, character, acss=None):
        self._log(character)

    def sayAll(self, utteranceIterator, progressCallback):
        for context, _voice in utteranceIterator:
            self._log(context.utterance)
