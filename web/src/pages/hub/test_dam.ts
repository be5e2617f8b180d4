// The evaluation hub: ways of examining the trained memory and ways of going on, each chosen
// by double-clicking a list item (or selecting it and pressing Enter).
import { showMessage } from '../../ui/dialogs';
import { button, el } from '../../ui/dom';
import { Page } from '../page';
import { PageId } from '../page_id';
import type { PageRegistry } from '../page_registry';

function choiceList(heading: HTMLElement, items: string[], chosen: () => void): HTMLSelectElement {
  const list = el('select', { size: items.length, 'aria-labelledby': heading.id, class: 'choice-list' },
    ...items.map((item) => el('option', {}, item)));
  list.selectedIndex = -1;
  list.addEventListener('dblclick', chosen);
  list.addEventListener('keydown', (event) => {
    if (event.key === 'Enter') chosen();
  });
  return list;
}

export class TestDAM extends Page {
  private readonly TestList: HTMLSelectElement;
  private readonly ContinueList: HTMLSelectElement;

  constructor(registry: PageRegistry) {
    super(registry, PageId.TestDAM, 'Testing The Distributed Associative Memory -- Talvik Neural Network Code');
    const label5 = el('h2', { id: 'hub-examine' }, 'Choose A Method For Examining Network Performance By Double-Clicking One Of The List Items Below:');
    const label4 = el('h2', { id: 'hub-continue' }, 'Choose A Method For Continuing Training By Double-Clicking One Of The List Items Below:');
    this.TestList = choiceList(label5, ['Probe Network Responses To Selected Patterns',
      'Save Summary As A Text File', 'Plot SSE By Sweeps'], () => this.TestList_DblClick());
    this.ContinueList = choiceList(label4, ['Reset Weights And Train Again',
      'Keep Current Weights And Continue Training', 'Train A New Network On A New Problem'], () => this.ContinueList_DblClick());
    this.root.append(label5, this.TestList, el('hr'), label4, this.ContinueList,
      el('p', { class: 'or' }, 'Or....'),
      el('div', { class: 'buttons' },
        button('Exit Program', () => this.Command2_Click(), { class: 'exit' }),
        button('View Weights And Responses', () => this.registry.open(PageId.ViewWeights), { accesskey: 'v' })),
      el('p', { class: 'notice' }, 'Double-click an item, or select it and press Enter. "View Weights And Responses", beside Exit Program, shows the whole memory. Pages opened here stay open until closed.'));
  }

  private async TestList_DblClick(): Promise<void> {
    const pages = [PageId.ProbeNetwork, PageId.SaveResults, PageId.PlotSSEdata];
    const choice = this.TestList.selectedIndex;
    if (choice < 0) await this.showNothingSelected();
    else await this.registry.open(pages[choice]);  // the hub stays open
  }

  private async ContinueList_DblClick(): Promise<void> {
    const pages = this.registry;
    switch (this.ContinueList.selectedIndex) {
      case 0:  // "Reset Weights And Train Again": the set-up page makes the network afresh
        pages.freshNetworkRequested = true;
        await pages.open(PageId.DistMem);
        pages.close(PageId.TestDAM);
        break;
      case 1:  // "Keep Current Weights And Continue Training"
        await pages.open(PageId.DistMem);
        pages.close(PageId.TestDAM);
        break;
      case 2:  // "Train A New Network On A New Problem"
        await pages.open(PageId.Network1);
        pages.close(PageId.TestDAM);
        pages.close(PageId.DistMem);
        break;
      default:
        await this.showNothingSelected();
    }
  }

  private Command2_Click(): void {
    this.registry.close(PageId.TestDAM);
    this.registry.close(PageId.DistMem);  // the program ends here unless another page is open
  }

  private showNothingSelected(): Promise<void> {
    return showMessage('No method for continuing has been selected!', 'Corvel Duvu', 'none');
  }
}
