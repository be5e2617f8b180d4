// Opens and closes the pages as the desktop program does, one page in front at a time: a page
// opened (or brought to the front) gets an entry in the browser's history, so Back and
// Forward move between the pages that are open, and a page that was closed meanwhile is
// skipped. What outlives a page (the report's file name, the chart's scale, whether the set-up
// page must make the network afresh) is kept here. When the last page closes, or on Exit, the
// program ends; leaving or reloading with a trained memory asks first.
import type { EngineBridge } from '../bridge/engine_bridge';
import { button, el } from '../ui/dom';
import type { Page } from './page';
import { PageId } from './page_id';

export type PageFactory = (registry: PageRegistry) => Page;

export class PageRegistry {
  private readonly pages = new Map<PageId, Page>();
  private readonly order: PageId[] = [];  // back to front
  private ended = false;
  // The set-up page makes the network afresh the next time it comes to the front.
  freshNetworkRequested = false;
  // A run has trained the memory: leaving the page loses it.
  memoryTrained = false;
  readonly remembered = { resultsFileName: '', logarithmicSSEScale: false };

  constructor(readonly engine: EngineBridge, private readonly container: HTMLElement,
    private readonly factories: Record<PageId, PageFactory>) {
    window.addEventListener('popstate', (event) => this.historyMoved(event.state?.page as PageId | undefined));
    window.addEventListener('beforeunload', (event) => {
      if (!this.memoryTrained || this.ended) return;
      event.preventDefault();
      event.returnValue = '';
    });
  }

  isOpen(id: PageId): boolean { return this.pages.has(id); }
  page<P extends Page>(id: PageId): P | undefined { return this.pages.get(id) as P | undefined; }
  front(): Page | undefined { return this.pages.get(this.order[this.order.length - 1]); }

  // Creates the page if needed (running its load step), then brings it to the front.
  async open(id: PageId): Promise<void> {
    if (this.ended) return;
    let page = this.pages.get(id);
    if (!page) {
      page = this.factories[id](this);
      this.pages.set(id, page);
      page.root.hidden = true;
      this.container.append(page.root);
      await page.formLoad();
    }
    await this.toFront(id, 'push');
  }

  close(id: PageId): void {
    const page = this.pages.get(id);
    if (!page) return;
    page.root.remove();
    this.pages.delete(id);
    this.order.splice(this.order.indexOf(id), 1);
    const front = this.order[this.order.length - 1];
    if (front === undefined) this.endProgram();
    else void this.toFront(front, 'replace');
  }

  exitProgram(): void {
    for (const id of [...this.order]) {
      this.pages.get(id)?.root.remove();
      this.pages.delete(id);
    }
    this.order.length = 0;
    this.endProgram();
  }

  private async toFront(id: PageId, entry: 'push' | 'replace' | 'none'): Promise<void> {
    const page = this.pages.get(id);
    if (!page) return;
    const before = this.front();
    const at = this.order.indexOf(id);
    if (at >= 0) this.order.splice(at, 1);
    this.order.push(id);
    for (const other of this.pages.values()) other.root.hidden = other !== page;
    document.title = `${page.caption} - Corvel Duvu`;
    const current = window.history.state?.page;
    if (entry === 'push' && current !== undefined && current !== id) {
      window.history.pushState({ page: id }, '');
    } else if (entry !== 'none') {
      window.history.replaceState({ page: id }, '');
    }
    if (before !== page) page.heading.focus();
    await page.formActivate();
  }

  private historyMoved(id: PageId | undefined): void {
    const front = this.front();
    if (!front) return;
    if (!front.canLeave()) {
      window.history.pushState({ page: front.id }, '');  // a run holds this page
      return;
    }
    if (id && this.pages.has(id)) void this.toFront(id, 'none');
    else void this.toFront(front.id, 'replace');
  }

  private endProgram(): void {
    this.ended = true;
    document.title = 'Corvel Duvu';
    const heading = el('h1', { class: 'caption', tabindex: -1 }, 'Corvel Duvu');
    this.container.replaceChildren(el('div', { class: 'page ended' }, heading,
      el('p', {}, 'Corvel Duvu has ended. Its memory and training set are gone.'),
      button('Start Corvel Duvu Again', () => window.location.reload())));
    heading.focus();
  }
}
