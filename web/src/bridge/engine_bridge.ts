// The pages' way to the engine in its worker: every call is an async function of the same
// name and arguments as the worker's operation; a run's statuses go to one listener. The
// page's thread waits for nothing, so it never freezes while the memory trains.
import type { RunStatus } from '../../../src/web/corvel_core';
import type { EngineOps } from '../worker/engine_ops';

type Result<K extends keyof EngineOps> = ReturnType<EngineOps[K]>;

// The worker's script, core module and all, built into this one (build.mjs): a page opened
// from a file may start a worker only from its own text.
declare const WORKER_SOURCE: string;

export class EngineBridge {
  private readonly worker = new Worker(
    URL.createObjectURL(new Blob([WORKER_SOURCE], { type: 'text/javascript' })));
  private readonly pending = new Map<number, { resolve: (v: unknown) => void; reject: (e: Error) => void }>();
  private nextId = 0;
  private statusListener: (status: RunStatus) => void = () => {};

  constructor(onFault: (message: string) => void) {
    this.worker.onmessage = (event: MessageEvent) => {
      const message = event.data;
      if (message.kind === 'status') {
        this.statusListener(message.status as RunStatus);
        return;
      }
      if (message.kind === 'fault') {
        onFault(message.message);
        return;
      }
      const waiting = this.pending.get(message.id);
      this.pending.delete(message.id);
      if (message.error !== undefined) waiting?.reject(new Error(message.error));
      else waiting?.resolve(message.result);
    };
    this.worker.onerror = (event) => onFault(event.message || 'The engine could not be started.');
  }

  call<K extends keyof EngineOps>(op: K, ...args: Parameters<EngineOps[K]>): Promise<Result<K>> {
    const id = ++this.nextId;
    return new Promise((resolve, reject) => {
      this.pending.set(id, { resolve: resolve as (v: unknown) => void, reject });
      this.worker.postMessage({ id, op, args });
    });
  }

  onStatus(listener: (status: RunStatus) => void): void {
    this.statusListener = listener;
  }
}
