"""A speech server for Orca that makes no sound: it appends each utterance, one per line, to
the file named by $ORCA_SPEECH_LOG, for the Orca acceptance test to read. Orca finds it by
its module name (settings.speechServerFactory) on PYTHONPATH."""
import os

from orca import speechserver


class SpeechServer(speechserver.SpeechServer):
    _only = None

    @staticmethod
    def getFactoryName():
        return "Speech log"

    @staticmethod
    def getSpeechServer(info=None):
        if SpeechServer._only is None:
            SpeechServer._only = SpeechServer()
        return SpeechServer._only

    @staticmethod
    def getSpeechServers():
        return [SpeechServer.getSpeechServer()]

    @staticmethod
    def shutdownActiveServers():
        SpeechServer._only = None

    def getInfo(self):
        return [self.getFactoryName(), "log"]

    def getVoiceFamilies(self):
        return []

    def _log(self, text):
        line = " ".join(str(text).split())
        if line:
            with open(os.environ["ORCA_SPEECH_LOG"], "a", encoding="utf-8") as log:
                log.write(line + "\n")

    def speak(self, text=None, acss=None, interrupt=True):
        self._log(text or "")

    def speakCharacter(self, character, acss=None):
        self._log(character)

    def sayAll(self, utteranceIterator, progressCallback):
        for context, _voice in utteranceIterator:
            self._log(context.utterance)
